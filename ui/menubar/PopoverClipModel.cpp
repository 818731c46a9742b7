#include "PopoverClipModel.h"

#include "ClipText.h"
#include "ColorParser.h"
#include "KeyLegend.h"
#include "ListDiff.h"
#include "PopoverRowStyle.h"
#include "RowPresenter.h"

#include <algorithm>

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
    std::vector<std::int64_t> oldIDs;
    std::vector<std::int64_t> newIDs;
    for (const ClipRef &clip : std::as_const(m_clips))
        oldIDs.push_back(clip->id);
    for (const ClipRef &clip : clips)
        newIDs.push_back(clip->id);
    const ListDiff diff = ListDiff::byID(oldIDs, newIDs);
    diff.forEachRemovedRun([this](int first, int last) {
        beginRemoveRows({}, first, last);
        m_clips.remove(first, last - first + 1);
        endRemoveRows();
    });
    diff.forEachInsertedRun([this, &clips](int first, int last) {
        beginInsertRows({}, first, last);
        m_clips.insert(first, last - first + 1, ClipRef());
        std::copy(clips.begin() + first, clips.begin() + last + 1, m_clips.begin() + first);
        endInsertRows();
    });
    // Kept rows show the clip's latest state; every one when "5 min ago" may read otherwise now.
    for (int row = 0; row < count(); ++row) {
        if (!diff.insert[std::size_t(row)] && (m_clips.at(row) != clips.at(row) || timeMoved)) {
            m_clips[row] = clips.at(row);
            emit dataChanged(index(row), index(row));
        }
    }
    // Numbers follow the position: rows that moved within the first ten change their mark.
    if (m_numbered && count() > 0)
        emit dataChanged(index(0), index(std::min(count(), 10) - 1), {ShortcutRole, ShortcutLabelRole});
    if (before != count())
        emit countChanged();
}

int PopoverClipModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : count(); }

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
        return clip.hasThumbnail() ? QStringLiteral("image://thumb/%1?%2").arg(clip.id).arg(clip.thumbnailPng.size()) : QString();
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
