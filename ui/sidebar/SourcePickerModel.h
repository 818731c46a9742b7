#pragma once

#include "KeyedListModel.h"

#include <QPointer>
#include <QtQml/qqmlregistration.h>

namespace corvane {

class ClipboardStore;

/** @brief A source in the "Show all" popover. */
struct SourcePickerRow {
    QString key;
    QString name;
    qint64 count = 0;
    bool isKept = false;
    bool isHidden = false;

    bool operator==(const SourcePickerRow &) const = default;
};

/**
 * @brief Every source for the "Show all" popover, filtered by its query, with keep and hide
 * toggles. The query outlives the popover closing and opening again.
 */
class SourcePickerModel : public KeyedListModel<SourcePickerRow>
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(corvane::ClipboardStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY queryChanged)
    Q_PROPERTY(int total READ total NOTIFY totalChanged)
    Q_PROPERTY(bool filterFieldVisible READ filterFieldVisible NOTIFY totalChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role { KeyRole = Qt::UserRole + 1, NameRole, CountRole, IsKeptRole, IsHiddenRole, KeepHelpRole, HideHelpRole };

    explicit SourcePickerModel(QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    ClipboardStore *store() const { return m_store; }
    void setStore(ClipboardStore *store);
    const QString &query() const { return m_query; }
    void setQuery(const QString &query);
    int total() const { return m_total; }
    bool filterFieldVisible() const;
    int count() const { return rowCount(); }

    Q_INVOKABLE void toggleKept(const QString &key);
    Q_INVOKABLE void toggleHidden(const QString &key);
    /** Shows the source's clips, hidden or not. */
    Q_INVOKABLE void select(const QString &key);

    void rebuild();

signals:
    void storeChanged();
    void queryChanged();
    void totalChanged();
    void countChanged();

private:
    QPointer<ClipboardStore> m_store;
    QString m_query;
    int m_total = 0;
};

} // namespace corvane
