#include "ClipListModel.h"

#include "AppSettings.h"
#include "ClipFilterKey.h"
#include "ClipboardStore.h"
#include "ListDiff.h"

#include <QUrl>

#include <algorithm>

namespace corvane {

namespace {

/** Beyond this many separate row edits one removal of all rows and one insertion are cheaper. */
constexpr int maxRangedEdits = 64;

} // namespace

ClipListModel::ClipListModel(QObject *parent) : QAbstractListModel(parent) {}

int ClipListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QHash<int, QByteArray> ClipListModel::roleNames() const
{
    return {
        {ClipIdRole, "clipId"},
        {GroupRole, "group"},
        {GroupNameRole, "groupName"},
        {TitleRole, "title"},
        {PlainTitleRole, "plainTitle"},
        {PreviewRole, "preview"},
        {SubtitleRole, "subtitle"},
        {IsPinnedRole, "isPinned"},
        {TagsRole, "tags"},
        {ThumbnailUrlRole, "thumbnailUrl"},
        {HasThumbnailRole, "hasThumbnail"},
        {ImageWidthRole, "imageWidth"},
        {ImageHeightRole, "imageHeight"},
        {SourceKeyRole, "sourceKey"},
        {SourceNameRole, "sourceName"},
        {SourceIconUrlRole, "sourceIconUrl"},
        {CreatedAtRole, "createdAt"},
        {NoteRole, "note"},
        {SummaryRole, "summary"},
        {IsSecretRole, "isSecret"},
        {IsRevealedRole, "isRevealed"},
        {IsSelectedRole, "isSelected"},
        {SectionIdRole, "sectionId"},
        {SectionTitleRole, "sectionTitle"},
    };
}

QVariant ClipListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row &row = m_rows[std::size_t(index.row())];
    const Clip &clip = *row.clip;
    switch (role) {
    case ClipIdRole:
        return qint64(clip.id);
    case GroupRole:
        return ClipGroups::rawValue(clip.group);
    case GroupNameRole:
        return ClipGroups::displayName(clip.group);
    case TitleRole:
        return clip.displayTitle(m_revealed.contains(clip.id),
                                 m_store && m_store->settings()->showSummariesInList());
    case PlainTitleRole:
        return clip.displayTitle(false, true);
    case PreviewRole:
        return clip.preview;
    case SubtitleRole:
        return clip.subtitle;
    case IsPinnedRole:
        return clip.isPinned;
    case TagsRole: {
        QVariantList tags;
        for (ColorTag tag : clip.tags)
            tags.append(ColorTags::rawValue(tag));
        return tags;
    }
    case ThumbnailUrlRole:
        // The length tells a replaced thumbnail apart, so views do not show a cached old one.
        return clip.hasThumbnail() ? QStringLiteral("image://thumb/%1?%2").arg(clip.id).arg(clip.thumbnailPng.size())
                                   : QString();
    case HasThumbnailRole:
        return clip.hasThumbnail();
    case ImageWidthRole:
        return clip.imageSize.width();
    case ImageHeightRole:
        return clip.imageSize.height();
    case SourceKeyRole:
        return clip.sourceKey().value_or(QString());
    case SourceNameRole:
        return clip.sourceDisplayName();
    case SourceIconUrlRole: {
        const auto key = clip.sourceKey();
        if (!key || !m_store)
            return QString();
        return QStringLiteral("image://source/%1?%2")
            .arg(QString::fromLatin1(QUrl::toPercentEncoding(*key)))
            .arg(m_store->iconRevision());
    }
    case CreatedAtRole:
        return clip.createdAt;
    case NoteRole:
        return clip.note.value_or(QString());
    case SummaryRole:
        return clip.summary.value_or(QString());
    case IsSecretRole:
        return clip.group == ClipGroup::secret;
    case IsRevealedRole:
        return m_revealed.contains(clip.id);
    case IsSelectedRole:
        return m_selected.contains(clip.id);
    case SectionIdRole:
        return row.section;
    case SectionTitleRole:
        return row.section >= 0 && row.section < m_sectionTitles.size() ? m_sectionTitles.at(row.section) : QString();
    default:
        return {};
    }
}

void ClipListModel::setStore(ClipboardStore *store)
{
    if (store == m_store)
        return;
    for (const auto &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_store = store;
    if (store) {
        auto followed = [this] {
            if (m_followStore)
                refresh();
        };
        m_connections = {
            connect(store, &ClipboardStore::clipsChanged, this, &ClipListModel::refresh),
            connect(store, &ClipboardStore::filterChanged, this, followed),
            connect(store, &ClipboardStore::searchTextChanged, this, followed),
            connect(store, &ClipboardStore::selectionChanged, this, &ClipListModel::selectionChanged),
            connect(store, &ClipboardStore::revealedSecretsChanged, this,
                    [this] {
                        const QSet<std::int64_t> now = m_store->revealedSecrets();
                        QSet<std::int64_t> changed = (now - m_revealed) + (m_revealed - now);
                        m_revealed = now;
                        // A search may match a secret's text only while it is shown.
                        if (!currentSearch().trimmed().isEmpty())
                            refresh();
                        rolesChangedFor(changed, {TitleRole, IsRevealedRole});
                    }),
            connect(store, &ClipboardStore::iconRevisionChanged, this,
                    [this] { rolesChangedForAll({SourceIconUrlRole}); }),
            connect(store->settings(), &AppSettings::showSummariesInListChanged, this,
                    [this] { rolesChangedForAll({TitleRole}); }),
        };
        m_selected = store->selectedIDs();
        m_revealed = store->revealedSecrets();
    }
    emit storeChanged();
    refresh();
}

void ClipListModel::setFollowStore(bool follow)
{
    if (follow == m_followStore)
        return;
    m_followStore = follow;
    emit followStoreChanged();
    refresh();
}

QString ClipListModel::filterKey() const { return ClipFilterKey::toKey(m_filter); }

void ClipListModel::setFilterKey(const QString &key)
{
    const auto filter = ClipFilterKey::fromKey(key);
    if (!filter || *filter == m_filter)
        return;
    m_filter = *filter;
    emit filterKeyChanged();
    if (!m_followStore)
        refresh();
}

void ClipListModel::setSearchText(const QString &text)
{
    if (text == m_searchText)
        return;
    m_searchText = text;
    emit searchTextChanged();
    if (!m_followStore)
        refresh();
}

void ClipListModel::setSectioned(bool sectioned)
{
    if (sectioned == m_sectioned)
        return;
    m_sectioned = sectioned;
    emit sectionedChanged();
    refresh();
}

ClipFilter ClipListModel::currentFilter() const
{
    return m_followStore && m_store ? m_store->filter() : m_filter;
}

QString ClipListModel::currentSearch() const
{
    return m_followStore && m_store ? m_store->searchText() : m_searchText;
}

ClipRef ClipListModel::clipAt(int row) const
{
    return row >= 0 && row < count() ? m_rows[std::size_t(row)].clip : nullptr;
}

qint64 ClipListModel::clipIdAt(int row) const
{
    const ClipRef clip = clipAt(row);
    return clip ? clip->id : -1;
}

int ClipListModel::rowOf(qint64 id) const { return rowIndex().value(id); }

QString ClipListModel::sectionTitle(int sectionId) const { return m_sectionTitles.value(sectionId); }

const IdIndex &ClipListModel::rowIndex() const
{
    if (!m_rowIndexValid) {
        std::int64_t maxID = 0;
        for (const Row &row : m_rows)
            maxID = std::max(maxID, row.clip->id);
        m_rowIndex.reset(maxID, m_rows.size());
        for (int i = 0; i < int(m_rows.size()); ++i)
            m_rowIndex.insert(m_rows[i].clip->id, i);
        m_rowIndexValid = true;
    }
    return m_rowIndex;
}

void ClipListModel::refresh()
{
    std::vector<Row> rows;
    QStringList titles;
    if (m_store) {
        const ClipFilter filter = currentFilter();
        const QString search = currentSearch();
        if (m_sectioned) {
            for (const ClipSection &section : m_store->sections(filter, search)) {
                titles.append(section.title);
                for (const ClipRef &clip : section.clips)
                    rows.push_back({clip, section.id});
            }
        } else {
            const ClipList clips = m_store->visibleClips(filter, search);
            rows.reserve(std::size_t(clips.size()));
            for (const ClipRef &clip : clips)
                rows.push_back({clip, -1});
        }
    }
    const bool titlesChanged = titles != m_sectionTitles;
    m_sectionTitles = titles;
    apply(std::move(rows));
    if (titlesChanged)
        rolesChangedForAll({SectionTitleRole});
}

void ClipListModel::selectionChanged()
{
    const QSet<std::int64_t> now = m_store->selectedIDs();
    const QSet<std::int64_t> changed = (now - m_selected) + (m_selected - now);
    m_selected = now;
    rolesChangedFor(changed, {IsSelectedRole});
}

void ClipListModel::rolesChangedFor(const QSet<std::int64_t> &ids, const QList<int> &roles)
{
    for (std::int64_t id : ids) {
        const int row = rowOf(id);
        if (row >= 0)
            emit dataChanged(index(row), index(row), roles);
    }
}

void ClipListModel::rolesChangedForAll(const QList<int> &roles)
{
    if (!m_rows.empty())
        emit dataChanged(index(0), index(count() - 1), roles);
}

void ClipListModel::removeRowsWhere(const std::vector<bool> &remove)
{
    for (int end = int(m_rows.size()) - 1; end >= 0;) {
        if (!remove[std::size_t(end)]) {
            --end;
            continue;
        }
        int start = end;
        while (start > 0 && remove[std::size_t(start - 1)])
            --start;
        beginRemoveRows({}, start, end);
        m_rows.erase(m_rows.begin() + start, m_rows.begin() + end + 1);
        endRemoveRows();
        end = start - 1;
    }
}

void ClipListModel::apply(std::vector<Row> rows)
{
    const int oldCount = count();
    std::vector<std::int64_t> oldIDs;
    oldIDs.reserve(m_rows.size());
    for (const Row &row : m_rows)
        oldIDs.push_back(row.clip->id);
    std::vector<std::int64_t> newIDs;
    newIDs.reserve(rows.size());
    for (const Row &row : rows)
        newIDs.push_back(row.clip->id);
    const ListDiff diff = ListDiff::byID(oldIDs, newIDs);
    const std::vector<bool> &remove = diff.remove;
    const std::vector<bool> &insert = diff.insert;

    m_rowIndexValid = false;
    if (diff.editCount() > maxRangedEdits) {
        if (oldCount > 0) {
            beginRemoveRows({}, 0, oldCount - 1);
            m_rows.clear();
            endRemoveRows();
        }
        if (!rows.empty()) {
            beginInsertRows({}, 0, int(rows.size()) - 1);
            m_rows = std::move(rows);
            endInsertRows();
        }
    } else {
        removeRowsWhere(remove);
        for (int i = 0; i < int(rows.size());) {
            if (!insert[std::size_t(i)]) {
                Row &current = m_rows[std::size_t(i)];
                Row &fresh = rows[std::size_t(i)];
                if (current.clip != fresh.clip || current.section != fresh.section) {
                    int last = i;
                    while (last + 1 < int(rows.size()) && !insert[std::size_t(last + 1)]
                           && (m_rows[std::size_t(last + 1)].clip != rows[std::size_t(last + 1)].clip
                               || m_rows[std::size_t(last + 1)].section != rows[std::size_t(last + 1)].section))
                        ++last;
                    for (int k = i; k <= last; ++k)
                        m_rows[std::size_t(k)] = rows[std::size_t(k)];
                    emit dataChanged(index(i), index(last));
                    i = last + 1;
                } else {
                    ++i;
                }
                continue;
            }
            int last = i;
            while (last + 1 < int(rows.size()) && insert[std::size_t(last + 1)])
                ++last;
            beginInsertRows({}, i, last);
            m_rows.insert(m_rows.begin() + i, rows.begin() + i, rows.begin() + last + 1);
            endInsertRows();
            i = last + 1;
        }
    }
    if (count() != oldCount)
        emit countChanged();
}

} // namespace corvane
