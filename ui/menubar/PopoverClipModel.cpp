#include "PopoverClipModel.h"

#include "ClipText.h"
#include "ColorParser.h"
#include "KeyLegend.h"
#include "PopoverRowStyle.h"
#include "RowPresenter.h"

namespace corvane {

PopoverClipModel::PopoverClipModel(bool numbered, QObject *parent)
    : QAbstractListModel(parent)
    , m_numbered(numbered)
{
}

void PopoverClipModel::setClips(const ClipList &clips, const QDateTime &now, const QTimeZone &zone)
{
    const int before = count();
    const bool timeMoved = m_now != now || m_zone != zone;
    m_now = now;
    m_zone = zone;
    const auto idAt = [this](int row) { return m_clips.at(row)->id; };
    for (int i = 0; i < clips.size(); ++i) {
        const std::int64_t id = clips.at(i)->id;
        if (i < count() && idAt(i) == id) {
            if (m_clips.at(i) != clips.at(i) || timeMoved) {
                m_clips[i] = clips.at(i);
                emit dataChanged(index(i), index(i));
            }
            continue;
        }
        int found = -1;
        for (int j = i + 1; j < count(); ++j) {
            if (idAt(j) == id) {
                found = j;
                break;
            }
        }
        if (found >= 0) {
            beginMoveRows({}, found, found, {}, i);
            m_clips.move(found, i);
            endMoveRows();
            m_clips[i] = clips.at(i);
            emit dataChanged(index(i), index(i));
        } else {
            beginInsertRows({}, i, i);
            m_clips.insert(i, clips.at(i));
            endInsertRows();
        }
    }
    if (count() > clips.size()) {
        beginRemoveRows({}, int(clips.size()), count() - 1);
        m_clips.resize(clips.size());
        endRemoveRows();
    }
    // Numbers follow the position: rows that moved within the first ten change their mark.
    if (m_numbered && count() > 0)
        emit dataChanged(index(0), index(std::min(count(), 10) - 1), {ShortcutRole, ShortcutLabelRole});
    if (before != count())
        emit countChanged();
}

int PopoverClipModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QString PopoverClipModel::subtitle(const Clip &clip) const
{
    const QDateTime created = QDateTime::fromMSecsSinceEpoch(qint64(clip.createdAt * 1000.0), m_zone);
    return clip.sourceDisplayName() + QStringLiteral(" · ") + ClipText::relativeTime(created, m_now, m_zone);
}

QVariant PopoverClipModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const Clip &clip = *m_clips.at(index.row());
    const int shortcut = m_numbered && index.row() < 9 ? index.row() + 1 : 0;
    switch (role) {
    case ClipIdRole:
        return QVariant::fromValue<qint64>(clip.id);
    case GroupRole:
        return ClipGroups::rawValue(clip.group);
    case TitleRole:
        return clip.displayTitle(false, true);
    case SubtitleRole:
        return subtitle(clip);
    case GroupNameRole:
        return ClipGroups::displayName(clip.group);
    case IsPinnedRole:
        return clip.isPinned;
    case HasThumbnailRole:
        return leadingVisual(clip.group, clip.hasThumbnail()).kind == LeadingVisual::Thumbnail;
    case ShortcutRole:
        return shortcut;
    case ShortcutLabelRole:
        return shortcut > 0 ? KeyLegend::text(KeyLegend::rowNumber(shortcut)) : QString();
    case ColorHexRole:
        return clip.swatchHex();
    case ThumbnailUrlRole:
        // The length tells a replaced thumbnail apart, so a cached old picture is not shown.
        return clip.hasThumbnail()
            ? QStringLiteral("image://thumb/%1?%2").arg(clip.id).arg(clip.thumbnailPng.size())
            : QString();
    case LeadingSizeRole:
        return leadingVisual(clip.group, clip.hasThumbnail()).size;
    case MonospacedRole:
        return RowPresenter::monospacedTitle(clip.group);
    default:
        return {};
    }
}

QHash<int, QByteArray> PopoverClipModel::roleNames() const
{
    return {
        {ClipIdRole, "clipId"},
        {GroupRole, "group"},
        {TitleRole, "title"},
        {SubtitleRole, "subtitle"},
        {GroupNameRole, "groupName"},
        {IsPinnedRole, "isPinned"},
        {HasThumbnailRole, "hasThumbnail"},
        {ShortcutRole, "shortcut"},
        {ShortcutLabelRole, "shortcutLabel"},
        {ColorHexRole, "colorHex"},
        {ThumbnailUrlRole, "thumbnailUrl"},
        {LeadingSizeRole, "leadingSize"},
        {MonospacedRole, "monospaced"},
    };
}

} // namespace corvane
