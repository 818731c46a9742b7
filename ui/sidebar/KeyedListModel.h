#pragma once

#include "ListDiff.h"

#include <QAbstractListModel>
#include <QHash>
#include <QString>

#include <vector>

namespace corvane {

/**
 * @brief A list model of rows identified by a text `key`: a new list arrives as row removals,
 * insertions and value changes, never a reset, so views can animate it and keep their state.
 * `Row` needs a `key` member and `operator==`.
 */
template<typename Row> class KeyedListModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_rows.size()); }
    const std::vector<Row> &rows() const { return m_rows; }

protected:
    const Row *rowAt(const QModelIndex &index) const
    {
        return index.isValid() && index.row() < int(m_rows.size()) ? &m_rows[std::size_t(index.row())] : nullptr;
    }

    void setRows(std::vector<Row> rows)
    {
        std::vector<std::int64_t> oldIDs;
        std::vector<std::int64_t> newIDs;
        for (const Row &row : m_rows)
            oldIDs.push_back(idOf(row.key));
        for (const Row &row : rows)
            newIDs.push_back(idOf(row.key));
        const ListDiff diff = ListDiff::byID(oldIDs, newIDs);

        diff.forEachRemovedRun([this](int first, int last) {
            beginRemoveRows({}, first, last);
            m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
            endRemoveRows();
        });
        diff.forEachInsertedRun([this, &rows](int first, int last) {
            beginInsertRows({}, first, last);
            m_rows.insert(m_rows.begin() + first, rows.begin() + first, rows.begin() + last + 1);
            endInsertRows();
        });
        for (int row = 0; row < int(rows.size()); ++row) {
            if (!(m_rows[std::size_t(row)] == rows[std::size_t(row)])) {
                m_rows[std::size_t(row)] = std::move(rows[std::size_t(row)]);
                emit dataChanged(index(row), index(row));
            }
        }
    }

    /** Every row changed in the given roles (a value read at data() time moved). */
    void allRowsChanged(const QList<int> &roles)
    {
        if (!m_rows.empty())
            emit dataChanged(index(0), index(int(m_rows.size()) - 1), roles);
    }

private:
    std::int64_t idOf(const QString &key)
    {
        auto it = m_ids.constFind(key);
        if (it == m_ids.constEnd())
            it = m_ids.insert(key, m_ids.size());
        return *it;
    }

    std::vector<Row> m_rows;
    QHash<QString, std::int64_t> m_ids;
};

} // namespace corvane
