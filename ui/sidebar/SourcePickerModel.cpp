#include "SourcePickerModel.h"

#include "AppSettings.h"
#include "ClipFilter.h"
#include "ClipboardStore.h"
#include "SourceRules.h"

namespace corvane {

SourcePickerModel::SourcePickerModel(QObject *parent)
    : KeyedListModel<SourcePickerRow>(parent)
{
}

void SourcePickerModel::setStore(ClipboardStore *store)
{
    if (m_store == store)
        return;
    if (m_store)
        SourceRules::unfollowSources(*m_store, this);
    m_store = store;
    if (m_store)
        SourceRules::followSources(*m_store, this, [this] { rebuild(); });
    rebuild();
    emit storeChanged();
}

void SourcePickerModel::setQuery(const QString &query)
{
    if (m_query == query)
        return;
    m_query = query;
    rebuild();
    emit queryChanged();
}

bool SourcePickerModel::filterFieldVisible() const { return SourceRules::filterFieldVisible(m_total); }

void SourcePickerModel::rebuild()
{
    const QList<SourceApp> sources = m_store ? m_store->sources() : QList<SourceApp>{};
    const int total = int(sources.size());
    std::vector<SourcePickerRow> rows;
    if (m_store) {
        const QStringList kept = m_store->settings()->keptSources();
        const QStringList hidden = m_store->settings()->hiddenSources();
        for (const SourceApp &source : SourceRules::filterSources(sources, m_query, SourceRules::filterFieldVisible(total))) {
            rows.push_back(
                {source.bundleID, source.name, source.count, kept.contains(source.bundleID), hidden.contains(source.bundleID)});
        }
    }
    const int before = rowCount();
    setRows(std::move(rows));
    if (total != m_total) {
        m_total = total;
        emit totalChanged();
    }
    if (rowCount() != before)
        emit countChanged();
}

QVariant SourcePickerModel::data(const QModelIndex &index, int role) const
{
    const SourcePickerRow *row = rowAt(index);
    if (!row)
        return {};
    switch (role) {
    case KeyRole:
        return row->key;
    case Qt::DisplayRole:
    case NameRole:
        return row->name;
    case CountRole:
        return row->count;
    case IsKeptRole:
        return row->isKept;
    case IsHiddenRole:
        return row->isHidden;
    case KeepHelpRole:
        return row->isKept ? QStringLiteral("Stop keeping in sidebar") : QStringLiteral("Keep in sidebar");
    case HideHelpRole:
        return row->isHidden ? QStringLiteral("Show in sidebar") : QStringLiteral("Hide from sidebar");
    }
    return {};
}

QHash<int, QByteArray> SourcePickerModel::roleNames() const
{
    return {{KeyRole, "sourceKey"},     {NameRole, "name"},         {CountRole, "count"},      {IsKeptRole, "isKept"},
            {IsHiddenRole, "isHidden"}, {KeepHelpRole, "keepHelp"}, {HideHelpRole, "hideHelp"}};
}

void SourcePickerModel::toggleKept(const QString &key)
{
    if (m_store)
        SourceRules::toggleKept(*m_store, key);
}

void SourcePickerModel::toggleHidden(const QString &key)
{
    if (m_store)
        SourceRules::toggleHidden(*m_store, key);
}

void SourcePickerModel::select(const QString &key)
{
    if (m_store && !key.isEmpty())
        m_store->setFilter(ClipFilter::app(key));
}

} // namespace corvane
