#include "PasteQueueModel.h"

namespace corvane {

int PasteQueueModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_titles.size()); }

QVariant PasteQueueModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    switch (role) {
    case TitleRole:
        return m_titles.at(index.row());
    case IsCurrentRole:
        return index.row() == m_current;
    case PositionRole:
        return index.row() + 1;
    }
    return {};
}

QHash<int, QByteArray> PasteQueueModel::roleNames() const
{
    return {{TitleRole, "title"}, {IsCurrentRole, "isCurrent"}, {PositionRole, "position"}};
}

void PasteQueueModel::setItems(const QStringList &titles, int currentIndex)
{
    const int oldCount = int(m_titles.size());
    const int newCount = int(titles.size());
    if (newCount < oldCount) {
        beginRemoveRows({}, newCount, oldCount - 1);
        m_titles.resize(newCount);
        endRemoveRows();
    }
    const int oldCurrent = m_current;
    m_current = (currentIndex >= 0 && currentIndex < newCount) ? currentIndex : -1;
    const int shared = std::min(oldCount, newCount);
    for (int row = 0; row < shared; ++row) {
        const bool titleChanged = m_titles.at(row) != titles.at(row);
        const bool markChanged = (row == oldCurrent) != (row == m_current);
        m_titles[row] = titles.at(row);
        if (titleChanged || markChanged)
            emit dataChanged(index(row), index(row), {TitleRole, IsCurrentRole});
    }
    if (newCount > oldCount) {
        beginInsertRows({}, oldCount, newCount - 1);
        m_titles.append(titles.mid(oldCount));
        endInsertRows();
    }
    if (newCount != oldCount)
        emit countChanged();
    if (oldCurrent != m_current)
        emit currentIndexChanged();
}

} // namespace corvane
