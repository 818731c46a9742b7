#pragma once

#include "KeyedListModel.h"

#include <QPointer>
#include <QtQml/qqmlregistration.h>

namespace corvane {

class ClipboardStore;

/** @brief One row of the sidebar: a filter with its count, or the sources' "Show all" button. */
struct SidebarRow {
    /** The filter key the row selects ("all", "group:code", "app:web:example.org"), or "showAll". */
    QString key{};
    QString section{};
    QString title{};
    /** Symbol of a Library row. */
    QString symbol{};
    /** Raw value of a group row's group. */
    QString group{};
    /** Raw value of a tag row's tag, else -1. */
    int tag = -1;
    QString sourceKey{};
    qint64 count = 0;
    /** A group row's position among the groups. */
    int dotIndex = 0;

    bool isShowAll() const { return key == showAllKey(); }
    static QString showAllKey() { return QStringLiteral("showAll"); }
    bool operator==(const SidebarRow &) const = default;
};

/**
 * @brief The sidebar's rows, section by section (Library, Groups, Tags, Sources), with their counts,
 * worked out once per change of the history or of the kept and hidden sources. The row whose
 * filter is the store's is current.
 */
class SidebarModel : public KeyedListModel<SidebarRow>
{
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(corvane::ClipboardStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(int sourceTotal READ sourceTotal NOTIFY rowsRebuilt)
    Q_PROPERTY(qint64 itemCount READ itemCount NOTIFY rowsRebuilt)
    Q_PROPERTY(qint64 pinnedCount READ pinnedCount NOTIFY rowsRebuilt)
    Q_PROPERTY(QString countsLine READ countsLine NOTIFY rowsRebuilt)
    Q_PROPERTY(QString currentKey READ currentKey NOTIFY currentKeyChanged)

public:
    enum Role {
        KeyRole = Qt::UserRole + 1,
        SectionRole,
        TitleRole,
        SymbolRole,
        GroupRole,
        TagRole,
        SourceKeyRole,
        CountRole,
        BadgeRole,
        DotIndexRole,
        IsShowAllRole,
        IsCurrentRole,
    };

    explicit SidebarModel(QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    ClipboardStore *store() const { return m_store; }
    void setStore(ClipboardStore *store);
    int sourceTotal() const { return m_sourceTotal; }
    qint64 itemCount() const { return m_itemCount; }
    qint64 pinnedCount() const { return m_pinnedCount; }
    QString countsLine() const;
    /** The store's filter as a key. */
    QString currentKey() const;

    /** Sets the store's filter to the row's; an empty key (nothing selected) changes nothing. */
    Q_INVOKABLE void select(const QString &key);
    /** The filter key `offset` entries after `key` (the first entry when `key` is none), or "". */
    Q_INVOKABLE QString neighbourKey(const QString &key, int offset) const;
    /** The row of a key, or -1. */
    Q_INVOKABLE int rowOf(const QString &key) const;
    Q_INVOKABLE bool isKept(const QString &sourceKey) const;
    /** "Keep in Sidebar" or "Stop Keeping in Sidebar". */
    Q_INVOKABLE QString keepMenuTitle(const QString &sourceKey) const;
    Q_INVOKABLE void toggleKept(const QString &sourceKey);
    Q_INVOKABLE void hide(const QString &sourceKey);

    /** Works the rows out again from the store. */
    void rebuild();

signals:
    void storeChanged();
    void rowsRebuilt();
    void currentKeyChanged();

private:
    QPointer<ClipboardStore> m_store;
    int m_sourceTotal = 0;
    qint64 m_itemCount = 0;
    qint64 m_pinnedCount = 0;
};

} // namespace corvane
