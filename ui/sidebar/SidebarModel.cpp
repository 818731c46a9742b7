#include "SidebarModel.h"

#include "AppSettings.h"
#include "ClipFilterKey.h"
#include "ClipboardStore.h"
#include "Greeting.h"
#include "SourceRules.h"

#include <algorithm>

namespace corvane {

SidebarModel::SidebarModel(QObject *parent)
    : KeyedListModel<SidebarRow>(parent)
{
}

void SidebarModel::setStore(ClipboardStore *store)
{
    if (m_store == store)
        return;
    if (m_store)
        SourceRules::unfollowSources(*m_store, this);
    m_store = store;
    if (m_store) {
        SourceRules::followSources(*m_store, this, [this] { rebuild(); });
        connect(m_store, &ClipboardStore::filterChanged, this, [this] {
            allRowsChanged({IsCurrentRole});
            emit currentKeyChanged();
        });
    }
    rebuild();
    emit storeChanged();
    emit currentKeyChanged();
}

void SidebarModel::rebuild()
{
    std::vector<SidebarRow> rows;
    const DerivedLists::FilterCounts counts = m_store ? m_store->filterCounts() : DerivedLists::FilterCounts{};
    const QString library = QStringLiteral("Library");
    rows.push_back({.key = QStringLiteral("all"),
                    .section = library,
                    .title = QStringLiteral("All History"),
                    .symbol = QStringLiteral("clock.arrow.circlepath"),
                    .count = counts.all});
    rows.push_back({.key = QStringLiteral("pinned"),
                    .section = library,
                    .title = QStringLiteral("Pinned"),
                    .symbol = QStringLiteral("pin"),
                    .count = counts.pinned});

    int position = 0;
    for (ClipGroup group : ClipGroups::allCases) {
        const qint64 count = counts.groups[std::size_t(group)];
        if (count == 0)
            continue;
        rows.push_back({.key = ClipFilterKey::toKey(ClipFilter::ofGroup(group)),
                        .section = QStringLiteral("Groups"),
                        .title = ClipGroups::displayName(group),
                        .group = ClipGroups::rawValue(group),
                        .count = count,
                        .dotIndex = position++});
    }
    for (ColorTag tag : ColorTags::allCases) {
        const qint64 count = counts.tags[std::size_t(tag)];
        if (count == 0)
            continue;
        rows.push_back({.key = ClipFilterKey::toKey(ClipFilter::ofTag(tag)),
                        .section = QStringLiteral("Tags"),
                        .title = ColorTags::name(tag),
                        .tag = ColorTags::rawValue(tag),
                        .count = count});
    }

    const QList<SourceApp> sources = m_store ? m_store->sources() : QList<SourceApp>{};
    if (!sources.isEmpty()) {
        const QStringList hidden = m_store->settings()->hiddenSources();
        const QList<SourceApp> shown = DerivedLists::sidebarSources(sources, m_store->settings()->keptSources(), hidden);
        const QString section = QStringLiteral("Sources");
        for (const SourceApp &source : shown) {
            rows.push_back({.key = ClipFilterKey::toKey(ClipFilter::app(source.bundleID)),
                            .section = section,
                            .title = source.name,
                            .sourceKey = source.bundleID,
                            .count = source.count});
        }
        if (SourceRules::showAllVisible(sources, int(shown.size()), hidden)) {
            rows.push_back({.key = SidebarRow::showAllKey(),
                            .section = section,
                            .title = QStringLiteral("Show all (%1)").arg(sources.size()),
                            .symbol = QStringLiteral("ellipsis.circle"),
                            .count = sources.size()});
        }
    }

    setRows(std::move(rows));
    m_sourceTotal = int(sources.size());
    m_itemCount = counts.all;
    m_pinnedCount = counts.pinned;
    emit rowsRebuilt();
}

QVariant SidebarModel::data(const QModelIndex &index, int role) const
{
    const SidebarRow *row = rowAt(index);
    if (!row)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case TitleRole:
        return row->title;
    case KeyRole:
        return row->key;
    case SectionRole:
        return row->section;
    case SymbolRole:
        return row->symbol;
    case GroupRole:
        return row->group;
    case TagRole:
        return row->tag;
    case SourceKeyRole:
        return row->sourceKey;
    case CountRole:
        return row->count;
    case BadgeRole:
        // No badge at zero, and none on the button (its title holds the total).
        return row->count == 0 || row->isShowAll() ? QString() : QString::number(row->count);
    case DotIndexRole:
        return row->dotIndex;
    case IsShowAllRole:
        return row->isShowAll();
    case IsCurrentRole:
        return m_store && row->key == currentKey();
    }
    return {};
}

QHash<int, QByteArray> SidebarModel::roleNames() const
{
    return {{KeyRole, "filterKey"}, {SectionRole, "section"},   {TitleRole, "title"},         {SymbolRole, "symbol"},
            {GroupRole, "group"},   {TagRole, "tag"},           {SourceKeyRole, "sourceKey"}, {CountRole, "count"},
            {BadgeRole, "badge"},   {DotIndexRole, "dotIndex"}, {IsShowAllRole, "isShowAll"}, {IsCurrentRole, "isCurrent"}};
}

QString SidebarModel::countsLine() const { return Greeting::countsLine(m_itemCount, m_pinnedCount); }

QString SidebarModel::currentKey() const { return m_store ? m_store->filterKey() : QString(); }

void SidebarModel::select(const QString &key)
{
    if (!m_store || key.isEmpty() || key == SidebarRow::showAllKey())
        return;
    m_store->setFilterKey(key);
}

QString SidebarModel::neighbourKey(const QString &key, int offset) const
{
    QStringList keys;
    for (const SidebarRow &row : rows()) {
        if (!row.isShowAll())
            keys << row.key;
    }
    const qsizetype at = keys.indexOf(key);
    if (at < 0)
        return keys.value(0);
    return keys.value(at + offset);
}

int SidebarModel::rowOf(const QString &key) const
{
    const auto it = std::find_if(rows().begin(), rows().end(), [&key](const SidebarRow &row) { return row.key == key; });
    return it == rows().end() ? -1 : int(it - rows().begin());
}

bool SidebarModel::isKept(const QString &sourceKey) const
{
    return m_store && m_store->settings()->keptSources().contains(sourceKey);
}

QString SidebarModel::keepMenuTitle(const QString &sourceKey) const
{
    return isKept(sourceKey) ? QStringLiteral("Stop Keeping in Sidebar") : QStringLiteral("Keep in Sidebar");
}

void SidebarModel::toggleKept(const QString &sourceKey)
{
    if (m_store)
        SourceRules::toggleKept(*m_store, sourceKey);
}

void SidebarModel::hide(const QString &sourceKey)
{
    if (m_store)
        m_store->hideSource(sourceKey);
}

} // namespace corvane
