#include "AppListModel.h"

#include "ListDiff.h"

namespace corvane {

void AppListModel::setApps(const QList<ExcludedApp> &apps)
{
    if (apps == m_apps)
        return;
    const int oldCount = count();
    // ListDiff compares numbers: give each bundle id one.
    QHash<QString, std::int64_t> numbers;
    auto number = [&numbers](const QString &id) {
        if (const auto found = numbers.constFind(id); found != numbers.cend())
            return *found;
        const std::int64_t next = numbers.size();
        numbers.insert(id, next);
        return next;
    };
    std::vector<std::int64_t> oldIDs, newIDs;
    for (const ExcludedApp &app : std::as_const(m_apps))
        oldIDs.push_back(number(app.bundleID));
    for (const ExcludedApp &app : apps)
        newIDs.push_back(number(app.bundleID));
    const ListDiff diff = ListDiff::byID(oldIDs, newIDs);

    diff.forEachRemovedRun([this](int first, int last) {
        beginRemoveRows({}, first, last);
        m_apps.remove(first, last - first + 1);
        endRemoveRows();
    });
    diff.forEachInsertedRun([this, &apps](int first, int last) {
        beginInsertRows({}, first, last);
        m_apps.insert(first, last - first + 1, ExcludedApp());
        std::copy(apps.begin() + first, apps.begin() + last + 1, m_apps.begin() + first);
        endInsertRows();
    });
    for (int row = 0; row < apps.size(); ++row) {
        if (!diff.insert[std::size_t(row)] && m_apps.at(row) != apps.at(row)) {
            m_apps[row] = apps.at(row);
            emit dataChanged(index(row), index(row));
        }
    }
    if (count() != oldCount)
        emit countChanged();
}

QVariant AppListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const ExcludedApp &app = m_apps.at(index.row());
    switch (role) {
    case bundleIDRole:
        return app.bundleID;
    case nameRole:
    case Qt::DisplayRole:
        return app.name;
    default:
        return {};
    }
}

QHash<int, QByteArray> AppListModel::roleNames() const { return {{bundleIDRole, "bundleID"}, {nameRole, "name"}}; }

} // namespace corvane
