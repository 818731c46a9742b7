#pragma once

#include "ClipGroup.h"
#include "ClipRef.h"
#include "PopoverClipModel.h"
#include "PopoverHost.h"

#include "ClipboardStore.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <optional>

namespace corvane {

class Clock;
class TimerHandle;

/**
 * @brief Everything the menu-bar popover decides: its search and group chip, the pinned and
 * recent lists, the keyboard highlight and keys, copying and closing, pausing.
 *
 * A copy closes the popover 350 ms later through one restartable timer, which is dropped when
 * the popover is shown again. A chip whose group has left the history falls back to "All".
 * The row marked as copied is cleared whenever the popover closes or opens.
 */
class PopoverViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(corvane::ClipboardStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(corvane::PopoverHost *host READ host WRITE setHost NOTIFY hostChanged)
    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY queryChanged)
    Q_PROPERTY(QString group READ groupValue WRITE selectGroup NOTIFY groupChanged)
    Q_PROPERTY(QString effectiveQuery READ effectiveQueryText NOTIFY queryOrGroupChanged)
    Q_PROPERTY(QStringList searchTerms READ searchTerms NOTIFY queryOrGroupChanged)
    Q_PROPERTY(QVariantList chips READ chips NOTIFY chipsChanged)
    Q_PROPERTY(corvane::PopoverClipModel *pinnedModel READ pinnedModel CONSTANT)
    Q_PROPERTY(corvane::PopoverClipModel *recentModel READ recentModel CONSTANT)
    Q_PROPERTY(bool isEmpty READ isEmpty NOTIFY listsChanged)
    Q_PROPERTY(QString emptySymbol READ emptySymbol NOTIFY listsChanged)
    Q_PROPERTY(QString emptyMessage READ emptyMessage NOTIFY listsChanged)
    Q_PROPERTY(QVariant highlighted READ highlightedValue NOTIFY highlightedChanged)
    Q_PROPERTY(int highlightedRow READ highlightedRow NOTIFY highlightedChanged)
    Q_PROPERTY(QVariant copiedId READ copiedValue NOTIFY copiedChanged)
    Q_PROPERTY(bool isPaused READ isPaused NOTIFY pausedChanged)
    Q_PROPERTY(QString pauseHelp READ pauseHelp NOTIFY pausedChanged)

public:
    static constexpr int maxRecentRows = 60;
    static constexpr int closeDelayMs = 350;
    static constexpr double pauseSeconds = 600;

    explicit PopoverViewModel(QObject *parent = nullptr);
    ~PopoverViewModel() override;

    ClipboardStore *store() const { return m_store; }
    void setStore(ClipboardStore *store);
    PopoverHost *host() const { return m_host; }
    void setHost(PopoverHost *host);
    /** The clock of the close timer; the store's when unset. */
    void setClock(Clock *clock) { m_clock = clock; }

    QString query() const { return m_query; }
    void setQuery(const QString &query);
    std::optional<ClipGroup> group() const { return m_group; }
    QString groupValue() const;
    QString effectiveQueryText() const;
    QStringList searchTerms() const;
    QVariantList chips() const;

    PopoverClipModel *pinnedModel() const { return m_pinned; }
    PopoverClipModel *recentModel() const { return m_recent; }
    bool isEmpty() const;
    QString emptySymbol() const;
    QString emptyMessage() const;

    std::optional<std::int64_t> highlighted() const { return m_highlighted; }
    QVariant highlightedValue() const;
    /** The drawn row of the highlight, or -1. */
    int highlightedRow() const;
    QVariant copiedValue() const;
    bool isPaused() const;
    QString pauseHelp() const;
    bool closePending() const;

    /** "" or a group's raw value; an unknown value selects "All". */
    Q_INVOKABLE void selectGroup(const QString &group);
    Q_INVOKABLE void moveHighlight(int step);
    /** Handles a key press; true when it was taken. */
    Q_INVOKABLE bool handleKey(int key, int modifiers, const QString &text, bool autoRepeat, quint32 nativeScanCode = 0);
    Q_INVOKABLE void copyHighlighted();
    /** Closes the popover through its host. */
    Q_INVOKABLE void closePopover();
    /** A click on a row: marks it copied, then copies and closes. */
    Q_INVOKABLE void copyClicked(qint64 id);
    Q_INVOKABLE void copyAndClose(qint64 id);
    Q_INVOKABLE void togglePin(qint64 id);
    Q_INVOKABLE void togglePause();
    Q_INVOKABLE void openMainWindow();
    Q_INVOKABLE void openSettings();
    Q_INVOKABLE void quit();
    /** Recomputes both lists (the store changed, or the popover opened). */
    Q_INVOKABLE void refresh();

signals:
    void storeChanged();
    void hostChanged();
    void queryChanged();
    void groupChanged();
    void queryOrGroupChanged();
    void chipsChanged();
    void listsChanged();
    void highlightedChanged();
    void copiedChanged();
    void pausedChanged();

private:
    void hostVisibilityChanged();
    void storeClipsChanged();
    void setHighlighted(std::optional<std::int64_t> id);
    void setCopied(std::optional<std::int64_t> id);
    QList<qint64> drawnIDs() const;
    Clock *clock() const;

    QPointer<ClipboardStore> m_store;
    QPointer<PopoverHost> m_host;
    Clock *m_clock = nullptr;
    QString m_query;
    std::optional<ClipGroup> m_group;
    std::optional<std::int64_t> m_highlighted;
    std::optional<std::int64_t> m_copied;
    PopoverClipModel *m_pinned;
    PopoverClipModel *m_recent;
    std::unique_ptr<TimerHandle> m_closeTimer;
};

} // namespace corvane
