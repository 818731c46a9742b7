#pragma once

#include "ClipFilter.h"
#include "ClipListKeys.h"
#include "ClipRef.h"

#include "ClipboardStore.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace corvane {

namespace ClipListRules {

/** "0 items", "1 item", "42 items", then " · 3 selected" when two or more are selected. */
QString countLine(int total, int selected);

struct EmptyState {
    QString symbol;
    QString message;
    bool operator==(const EmptyState &) const = default;
};
/** A typed search (spaces alone are no search), then pinned, then a day, then the rest. */
EmptyState emptyState(const QString &searchText, const ClipFilter &filter);

/** The tab a filter shows: its group, "" (All) for all, none for the other filters. */
std::optional<QString> tabSelection(const ClipFilter &filter);
/** The filter a tab stands for: "" is all. */
ClipFilter filterForTab(const QString &group);

} // namespace ClipListRules

/**
 * @brief The clip list's decisions over the store: header texts, empty state, tabs, banner, keys,
 * click selection and what a drag takes.
 *
 * The selection it acts on is the selected clips shown in the list, in list order: the count
 * line, Return, Delete and drags all take that one list, so nothing hidden by the filter or the
 * search is copied or deleted.
 */
class ClipListController : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(corvane::ClipboardStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(QString filterTitle READ filterTitle NOTIFY headerChanged)
    Q_PROPERTY(QString countLine READ countLine NOTIFY headerChanged)
    Q_PROPERTY(bool showsDayChip READ showsDayChip NOTIFY headerChanged)
    Q_PROPERTY(bool isEmpty READ isEmpty NOTIFY headerChanged)
    Q_PROPERTY(QString emptySymbol READ emptySymbol NOTIFY headerChanged)
    Q_PROPERTY(QString emptyMessage READ emptyMessage NOTIFY headerChanged)
    Q_PROPERTY(QStringList groups READ groups NOTIFY headerChanged)
    /** The selected tab: a group, "" for All, or "none" when no tab stands for the filter. */
    Q_PROPERTY(QString tabSelection READ tabSelectionValue NOTIFY headerChanged)
    Q_PROPERTY(bool showsPhotoGrid READ showsPhotoGrid NOTIFY headerChanged)
    Q_PROPERTY(bool previewEnabled READ previewEnabled NOTIFY headerChanged)
    Q_PROPERTY(QStringList searchTerms READ searchTerms NOTIFY searchTermsChanged)
    Q_PROPERTY(bool bannerVisible READ bannerVisible NOTIFY bannerChanged)
    Q_PROPERTY(QString bannerMessage READ bannerMessage NOTIFY bannerChanged)
    Q_PROPERTY(QString bannerId READ bannerId NOTIFY bannerChanged)
    /** The list row of the selected clip, or -1. */
    Q_PROPERTY(int selectedRow READ selectedRow NOTIFY selectedRowChanged)

public:
    explicit ClipListController(QObject *parent = nullptr);

    ClipboardStore *store() const { return m_store; }
    void setStore(ClipboardStore *store);

    QString filterTitle() const;
    QString countLine() const;
    bool showsDayChip() const;
    bool isEmpty() const;
    QString emptySymbol() const { return emptyState().symbol; }
    QString emptyMessage() const { return emptyState().message; }
    /** The groups with clips, as tabs (read once per history change). */
    QStringList groups() const { return m_groups; }
    QString tabSelectionValue() const;
    bool showsPhotoGrid() const;
    bool previewEnabled() const;
    QStringList searchTerms() const { return m_terms; }
    bool bannerVisible() const;
    QString bannerMessage() const;
    QString bannerId() const;
    int selectedRow() const;

    /** The selected clips in the list, in list order. */
    /** The selected clips' ids in list order, those the list shows. */
    QList<std::int64_t> visibleSelection() const;
    /** The selected clip when the list shows it. */
    ClipRef selectedClip() const;

    /**
     * Runs the key's rule; true when the key is the list's (even when it did nothing).
     * `msSinceRelease` is the time from this key's last release to this press (-1: unknown); by
     * default it is read from the key events the application saw.
     */
    Q_INVOKABLE bool handleKey(int key, int modifiers, bool autoRepeat, qint64 msSinceRelease = -2);
    /** A click on a row or tile: Ctrl toggles, Shift extends from the anchor (Ctrl wins). */
    Q_INVOKABLE void click(qint64 id, int modifiers);
    Q_INVOKABLE void pickTab(const QString &group);
    Q_INVOKABLE void showAllDays();
    Q_INVOKABLE void togglePreview();
    /** The clips a drag from this row takes: the selection when the row is in a multiple one, else the row. */
    Q_INVOKABLE QVariantList dragIds(qint64 id) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void storeChanged();
    void headerChanged();
    void searchTermsChanged();
    void bannerChanged();
    void selectedRowChanged();

private:
    ClipListRules::EmptyState emptyState() const;
    void clipsChanged();
    void updateTerms();

    QPointer<ClipboardStore> m_store;
    QStringList m_terms;
    QStringList m_groups;
    // The event times of the last key release and press, read before the views get the press.
    bool m_watchingKeys = false;
    int m_releasedKey = 0;
    quint64 m_releasedAt = 0;
    int m_pressedKey = 0;
    qint64 m_pressGap = -1;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace corvane
