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
/** Look-ups that read the rows before the row index is built again. */
constexpr int lookupsBeforeIndexing = 2;

} // namespace

ClipListModel::ClipListModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

int ClipListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : count(); }

QHash<int, QByteArray> ClipListModel::roleNames() const
{
    return {
        {ClipIdRole, "clipId"},
        {GroupRole, "group"},
        {GroupNameRole, "groupName"},
        {TitleRole, "title"},
        {PlainTitleRole, "plainTitle"},
        {PreviewRole, "preview"},
        {ColorHexRole, "colorHex"},
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
        {SectionKeyRole, "sectionKey"},
    };
}

QVariant ClipListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ClipRef held = clipAt(index.row());
    if (!held)
        return {}; // gone from the store, and the row goes once the model hears of it
    const Clip &clip = *held;
    const int section = m_sections.empty() ? -1 : m_sections[std::size_t(index.row())];
    switch (role) {
    case ClipIdRole:
        return qint64(clip.id);
    case GroupRole:
        return ClipGroups::rawValue(clip.group);
    case GroupNameRole:
        return ClipGroups::displayName(clip.group);
    case TitleRole:
        return clip.displayTitle(m_revealed.contains(clip.id), m_store && m_store->settings()->showSummariesInList());
    case PlainTitleRole:
        return clip.displayTitle(false, true);
    case PreviewRole:
        return clip.preview();
    case ColorHexRole:
        return clip.swatchHex();
    case SubtitleRole:
        return clip.subtitle();
    case IsPinnedRole:
        return clip.isPinned;
    case TagsRole: {
        QVariantList tags;
        for (ColorTag tag : clip.tags())
            tags.append(ColorTags::rawValue(tag));
        return tags;
    }
    case ThumbnailUrlRole:
        // The length tells a replaced thumbnail apart, so views do not show a cached old one.
        return clip.hasThumbnail() ? QStringLiteral("image://thumb/%1?%2").arg(clip.id).arg(clip.thumbnailPng.size()) : QString();
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
        return section;
    case SectionTitleRole:
        return m_sectionTitles.value(section);
    case SectionKeyRole:
        return section < 0 ? QString() : QString::number(section) + u':' + m_sectionTitles.value(section);
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
            connect(store, &ClipboardStore::visibleSearchFinished, this, &ClipListModel::refresh),
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
            connect(store, &ClipboardStore::iconRevisionChanged, this, [this] { rolesChangedForAll({SourceIconUrlRole}); }),
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
    rolesChangedForAll({SectionIdRole, SectionTitleRole, SectionKeyRole});
}

ClipFilter ClipListModel::currentFilter() const { return m_followStore && m_store ? m_store->filter() : m_filter; }

QString ClipListModel::currentSearch() const { return m_followStore && m_store ? m_store->searchText() : m_searchText; }

ClipRef ClipListModel::clipAt(int row) const
{
    return row >= 0 && row < count() && m_store ? m_store->clip(rows()[std::size_t(row)]) : nullptr;
}

qint64 ClipListModel::clipIdAt(int row) const { return row >= 0 && row < count() ? rows()[std::size_t(row)] : -1; }

int ClipListModel::rowOf(qint64 id) const
{
    // Right after rows moved, the first look-ups (a new clip's row, the selection's) read the
    // rows, mostly a few from the top, rather than index a million of them again.
    if (!m_rowIndexValid && m_lookupsSinceMove < lookupsBeforeIndexing) {
        ++m_lookupsSinceMove;
        const auto found = std::find(rows().begin(), rows().end(), id);
        return found == rows().end() ? -1 : int(found - rows().begin());
    }
    return rowIndex().value(id);
}

QString ClipListModel::sectionTitle(int sectionId) const { return m_sectionTitles.value(sectionId); }

int ClipListModel::sectionSize(int sectionId) const
{
    return sectionId >= 0 && std::size_t(sectionId) < m_sectionRanges.size() ? m_sectionRanges[sectionId].second : 0;
}

int ClipListModel::sectionStart(int sectionId) const
{
    return sectionId >= 0 && std::size_t(sectionId) < m_sectionRanges.size() ? m_sectionRanges[sectionId].first : -1;
}

const IdIndex &ClipListModel::rowIndex() const
{
    if (!m_rowIndexValid) {
        std::int64_t maxID = 0;
        for (std::int64_t id : rows())
            maxID = std::max(maxID, id);
        m_rowIndex.reset(maxID, rows().size());
        for (int i = 0; i < count(); ++i)
            m_rowIndex.insert(rows()[std::size_t(i)], i);
        m_rowIndexValid = true;
    }
    return m_rowIndex;
}

void ClipListModel::refresh()
{
    std::shared_ptr<const std::vector<std::int64_t>> ids = std::make_shared<const std::vector<std::int64_t>>();
    SectionLayout layout;
    if (m_store) {
        const ClipFilter filter = currentFilter();
        const QString search = currentSearch();
        if (!m_store->visibleIsReady(filter, search)) {
            // The rows stay until the search is done, then change in one update.
            m_store->startVisibleSearch(filter, search);
            return;
        }
        ids = m_store->visibleIDs(filter, search); // shared with the store's cache, not copied
        if (m_sectioned)
            layout = m_store->sectionLayout(filter, search);
    }
    const bool titlesChanged = layout.titles != m_sectionTitles;
    m_sectionTitles = layout.titles;
    apply(std::move(ids), std::move(layout.rowSection));
    clipsReplaced();
    if (titlesChanged)
        rolesChangedForAll({SectionTitleRole, SectionKeyRole});
    // First row and size per section, from where each starts: no pass over a million rows.
    std::vector<std::pair<int, int>> ranges;
    for (std::size_t section = 0; section < layout.starts.size(); ++section) {
        const int end = section + 1 < layout.starts.size() ? layout.starts[section + 1] : count();
        ranges.emplace_back(layout.starts[section], end - layout.starts[section]);
    }
    if (ranges != m_sectionRanges) {
        m_sectionRanges = std::move(ranges);
        ++m_sectionsRevision;
        emit sectionsChanged();
    }
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

void ClipListModel::clipsReplaced()
{
    if (!m_store) {
        m_revision = 0;
        return;
    }
    const std::uint64_t revision = m_store->revision();
    if (revision == m_revision)
        return;
    const ClipChange &change = m_store->lastClipChange();
    const bool known = change.fromRevision == m_revision && !change.everything;
    m_revision = revision;
    if (!known) {
        rolesChangedForAll({});
        return;
    }
    for (std::int64_t id : change.ids) {
        const int row = rowOf(id);
        if (row >= 0)
            emit dataChanged(index(row), index(row));
    }
}

void ClipListModel::rolesChangedForAll(const QList<int> &roles)
{
    if (count() > 0)
        emit dataChanged(index(0), index(count() - 1), roles);
}

void ClipListModel::apply(std::shared_ptr<const std::vector<std::int64_t>> shared, std::vector<int> sections)
{
    const std::vector<std::int64_t> &ids = *shared;
    const std::vector<std::int64_t> &old = rows();
    const int oldCount = count();
    const int newCount = int(ids.size());
    // The rows holding the same ids at both ends are kept as they are: in a long list an edit,
    // a new clip or a deletion differs in a few rows only.
    int head = 0;
    while (head < oldCount && head < newCount && old[std::size_t(head)] == ids[std::size_t(head)])
        ++head;
    int tail = 0;
    while (tail < oldCount - head && tail < newCount - head
           && old[std::size_t(oldCount - 1 - tail)] == ids[std::size_t(newCount - 1 - tail)])
        ++tail;
    auto sectionOf = [&sections](std::size_t row) { return sections.empty() ? -1 : sections[row]; };
    auto currentSection = [this](std::size_t row) { return m_sections.empty() ? -1 : m_sections[row]; };
    if (head + tail == oldCount && newCount > oldCount) {
        // Only new rows in one run, as when the rest of a long history arrives: nothing is copied.
        std::vector<std::pair<int, int>> moved; // kept rows whose section changed, by new row
        auto checkKept = [&](int from, int to, int shift) {
            for (int row = from; row < to; ++row) {
                if (currentSection(std::size_t(row)) == sectionOf(std::size_t(row + shift)))
                    continue;
                if (!moved.empty() && moved.back().second == row + shift - 1)
                    moved.back().second = row + shift;
                else
                    moved.emplace_back(row + shift, row + shift);
            }
        };
        checkKept(0, head, 0);
        checkKept(oldCount - tail, oldCount, newCount - oldCount);
        beginInsertRows({}, head, head + newCount - oldCount - 1);
        m_ids = {};
        m_sharedIDs = std::move(shared);
        m_sections = std::move(sections);
        rowsMoved();
        endInsertRows();
        for (const auto &[first, last] : moved)
            emit dataChanged(index(first), index(last));
        emit countChanged();
        return;
    }
    const ListDiff middle = ListDiff::byID({old.begin() + head, old.end() - tail}, {ids.begin() + head, ids.end() - tail});
    const int edits = middle.editCount();

    if (edits > maxRangedEdits) {
        rowsMoved();
        if (oldCount > 0) {
            beginRemoveRows({}, 0, oldCount - 1);
            m_ids.clear();
            m_sharedIDs.reset();
            m_sections.clear();
            endRemoveRows();
        }
        if (newCount > 0) {
            beginInsertRows({}, 0, newCount - 1);
            m_sharedIDs = std::move(shared);
            m_sections = std::move(sections);
            endInsertRows();
        }
    } else {
        if (edits > 0)
            rowsMoved();
        // One run in or out (a new clip, a deletion) takes the new list as it lands; more runs
        // change a copy of the rows one run at a time, so they match the views in between.
        const bool oneRun = edits == 1;
        if (edits > 1 && m_sharedIDs) {
            m_ids = *m_sharedIDs;
            m_sharedIDs.reset();
        }
        auto takeNewRows = [&] {
            m_sharedIDs = shared;
            m_ids = {};
        };
        middle.forEachRemovedRun([&](int first, int last) {
            first += head;
            last += head;
            beginRemoveRows({}, first, last);
            if (oneRun)
                takeNewRows();
            else
                m_ids.erase(m_ids.begin() + first, m_ids.begin() + last + 1);
            if (!m_sections.empty())
                m_sections.erase(m_sections.begin() + first, m_sections.begin() + last + 1);
            endRemoveRows();
        });
        const bool withSections = !sections.empty();
        if (!withSections)
            m_sections.clear();
        else if (m_sections.size() != rows().size())
            m_sections.assign(rows().size(), -1);
        middle.forEachInsertedRun([&](int first, int last) {
            first += head;
            last += head;
            beginInsertRows({}, first, last);
            if (oneRun)
                takeNewRows();
            else
                m_ids.insert(m_ids.begin() + first, ids.begin() + first, ids.begin() + last + 1);
            if (withSections)
                m_sections.insert(m_sections.begin() + first, sections.begin() + first, sections.begin() + last + 1);
            endInsertRows();
        });
        // The rows now hold the new list's ids in its order.
        m_ids = {};
        m_sharedIDs = std::move(shared);
        // Kept rows whose section moved (a new day title above them, say); inserted rows already match.
        for (std::size_t row = 0; withSections;) {
            row = std::size_t(std::mismatch(m_sections.begin() + std::ptrdiff_t(row), m_sections.end(),
                                            sections.begin() + std::ptrdiff_t(row))
                                  .first
                              - m_sections.begin());
            if (row == m_sections.size())
                break;
            std::size_t last = row;
            while (last + 1 < m_sections.size() && m_sections[last + 1] != sections[last + 1])
                ++last;
            std::copy(sections.begin() + std::ptrdiff_t(row), sections.begin() + std::ptrdiff_t(last + 1),
                      m_sections.begin() + std::ptrdiff_t(row));
            emit dataChanged(index(int(row)), index(int(last)));
            row = last + 1;
        }
    }
    if (count() != oldCount)
        emit countChanged();
}

} // namespace corvane
