#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/** @brief The paste queue as the panel lists it: titles in order, the current one marked. */
class PasteQueueModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the paste-queue panel controller")
    Q_PROPERTY(int count READ rowCount NOTIFY countChanged)
    Q_PROPERTY(int currentIndex READ currentIndex NOTIFY currentIndexChanged)

public:
    enum Role { TitleRole = Qt::UserRole + 1, IsCurrentRole, PositionRole };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    /** Replaces the titles row by row (inserts, removes and changes only what differs). */
    void setItems(const QStringList &titles, int currentIndex);
    int currentIndex() const { return m_current; }

signals:
    void countChanged();
    void currentIndexChanged();

private:
    QStringList m_titles;
    int m_current = -1;
};

} // namespace corvane
