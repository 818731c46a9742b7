#pragma once

#include "ExcludedApp.h"

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/**
 * @brief A list of apps for the Privacy tab's sections (roles `bundleID` and `name`). A new list
 * is applied as row removals and insertions, so views can animate the apps that moved.
 */
class AppListModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by PrivacyTabModel")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role { bundleIDRole = Qt::UserRole, nameRole };

    using QAbstractListModel::QAbstractListModel;

    int count() const { return int(m_apps.size()); }
    const QList<ExcludedApp> &apps() const { return m_apps; }
    void setApps(const QList<ExcludedApp> &apps);

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : count(); }
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    QList<ExcludedApp> m_apps;
};

} // namespace corvane
