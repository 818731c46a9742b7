#pragma once

#include "ClipMenu.h"

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/** @brief The lines of one level of a clip's context menu, for an Instantiator. */
class ClipMenuEntries : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by ClipMenuModel")

public:
    enum Role { KindRole = Qt::UserRole + 1, LabelRole, IconRole, DestructiveRole, CheckedRole };

    using QAbstractListModel::QAbstractListModel;

    void setEntries(std::vector<MenuEntry> entries);
    const std::vector<MenuEntry> &entries() const { return m_entries; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    std::vector<MenuEntry> m_entries;
};

} // namespace corvane
