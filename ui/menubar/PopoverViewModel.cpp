#include "PopoverViewModel.h"

#include "ClipFilter.h"
#include "ClipboardStore.h"
#include "Clock.h"
#include "PopoverKeys.h"
#include "SearchQuery.h"

namespace corvane {

PopoverViewModel::PopoverViewModel(QObject *parent)
    : QObject(parent)
    , m_pinned(new PopoverClipModel(false, this))
    , m_recent(new PopoverClipModel(true, this))
{
}

PopoverViewModel::~PopoverViewModel() = default;

Clock *PopoverViewModel::clock() const { return m_clock ? m_clock : m_store ? &m_store->clock() : nullptr; }

void PopoverViewModel::setStore(ClipboardStore *store)
{
    if (m_store == store)
        return;
    if (m_store)
        disconnect(m_store, nullptr, this, nullptr);
    m_store = store;
    if (m_store) {
        connect(m_store, &ClipboardStore::clipsChanged, this, &PopoverViewModel::storeClipsChanged);
        connect(m_store, &ClipboardStore::visibleSearchFinished, this, &PopoverViewModel::refresh);
        connect(m_store, &ClipboardStore::revealedSecretsChanged, this, &PopoverViewModel::refresh);
        connect(m_store, &ClipboardStore::isPausedChanged, this, &PopoverViewModel::pausedChanged);
    }
    storeClipsChanged();
    emit storeChanged();
    emit pausedChanged();
}

void PopoverViewModel::setHost(PopoverHost *host)
{
    if (m_host == host)
        return;
    if (m_host)
        disconnect(m_host, nullptr, this, nullptr);
    m_host = host;
    if (m_host)
        connect(m_host, &PopoverHost::isShownChanged, this, &PopoverViewModel::hostVisibilityChanged);
    emit hostChanged();
}

void PopoverViewModel::hostVisibilityChanged()
{
    // A close still pending from before must not hit the popover just reopened, and a copied
    // mark belongs to the visit it was made in.
    if (m_host && m_host->isShown()) {
        m_closeTimer.reset();
        refresh();
    }
    setCopied(std::nullopt);
}

void PopoverViewModel::setQuery(const QString &query)
{
    if (m_query == query)
        return;
    m_query = query;
    emit queryChanged();
    emit queryOrGroupChanged();
    refresh();
}

QString PopoverViewModel::groupValue() const { return m_group ? ClipGroups::rawValue(*m_group) : QString(); }

void PopoverViewModel::selectGroup(const QString &group)
{
    const std::optional<ClipGroup> next = ClipGroups::fromRawValue(group);
    if (m_group == next)
        return;
    m_group = next;
    emit groupChanged();
    emit queryOrGroupChanged();
    emit chipsChanged();
    refresh();
}

QString PopoverViewModel::effectiveQueryText() const { return effectiveQuery(m_group, m_query); }

QStringList PopoverViewModel::searchTerms() const
{
    if (m_query.trimmed().isEmpty())
        return {};
    const QDateTime now = m_store ? m_store->now() : QDateTime::currentDateTime();
    const QTimeZone zone = m_store ? m_store->timeZone() : QTimeZone::systemTimeZone();
    return SearchQuery::parse(m_query, now, zone).terms;
}

QVariantList PopoverViewModel::chips() const
{
    QVariantList out;
    out << QVariantMap{{"group", QString()}, {"title", QStringLiteral("All")}, {"selected", !m_group}};
    if (!m_store)
        return out;
    for (ClipGroup g : m_store->availableGroups()) {
        out << QVariantMap{{"group", ClipGroups::rawValue(g)}, {"title", ClipGroups::displayName(g)}, {"selected", m_group == g}};
    }
    return out;
}

void PopoverViewModel::storeClipsChanged()
{
    // The chip of a group that has left the history is gone, so its filter goes too.
    if (m_group && m_store && !m_store->availableGroups().contains(*m_group)) {
        m_group.reset();
        emit groupChanged();
        emit queryOrGroupChanged();
    }
    emit chipsChanged();
    refresh();
}

void PopoverViewModel::refresh()
{
    ClipList pinned;
    ClipList recent;
    QDateTime now = QDateTime::currentDateTime();
    QTimeZone zone = QTimeZone::systemTimeZone();
    if (m_store) {
        const QString eq = effectiveQueryText();
        if (!m_store->visibleIsReady(ClipFilter::all(), eq)) {
            // A large history is searched on a worker; the rows stay until the result is in.
            m_store->startVisibleSearch(ClipFilter::all(), eq);
            return;
        }
        now = m_store->now();
        zone = m_store->timeZone();
        // One search serves both lists: the pinned clips of the whole result are exactly what a
        // search among the pinned ones gives, in the same order. The walk stops once both lists
        // are full, so a million clips past the shown rows are never visited.
        const std::shared_ptr<const std::vector<std::int64_t>> ids = m_store->visibleIDs(ClipFilter::all(), eq);
        const qsizetype pinnedTotal = m_store->pinnedCount();
        for (const std::int64_t id : *ids) {
            if (recent.size() >= maxRecentRows && pinned.size() >= pinnedTotal)
                break;
            const ClipRef clip = m_store->clip(id);
            if (!clip)
                continue;
            if (clip->isPinned)
                pinned.append(clip);
            else if (recent.size() < maxRecentRows)
                recent.append(clip);
        }
    }
    m_pinned->setClips(pinned, now, zone);
    m_recent->setClips(recent, now, zone);
    emit listsChanged();
}

bool PopoverViewModel::isEmpty() const { return m_pinned->count() == 0 && m_recent->count() == 0; }

QString PopoverViewModel::emptySymbol() const
{
    return m_query.isEmpty() ? QStringLiteral("doc.on.clipboard") : QStringLiteral("magnifyingglass");
}

QString PopoverViewModel::emptyMessage() const
{
    return m_query.isEmpty() ? QStringLiteral("Copy something to get started.") : QStringLiteral("No matches.");
}

QVariant PopoverViewModel::highlightedValue() const
{
    return m_highlighted ? QVariant::fromValue<qint64>(*m_highlighted) : QVariant();
}

int PopoverViewModel::highlightedRow() const { return m_highlighted ? int(drawnIDs().indexOf(*m_highlighted)) : -1; }

QVariant PopoverViewModel::copiedValue() const { return m_copied ? QVariant::fromValue<qint64>(*m_copied) : QVariant(); }

void PopoverViewModel::setHighlighted(std::optional<std::int64_t> id)
{
    if (m_highlighted == id)
        return;
    m_highlighted = id;
    emit highlightedChanged();
}

void PopoverViewModel::setCopied(std::optional<std::int64_t> id)
{
    if (m_copied == id)
        return;
    m_copied = id;
    emit copiedChanged();
}

QList<qint64> PopoverViewModel::drawnIDs() const
{
    QList<qint64> ids;
    for (const ClipRef &clip : m_recent->clips())
        ids << clip->id;
    return ids;
}

void PopoverViewModel::moveHighlight(int step) { setHighlighted(movedHighlight(m_highlighted, step, drawnIDs())); }

bool PopoverViewModel::handleKey(int key, int modifiers, const QString &text, bool autoRepeat, quint32 nativeScanCode)
{
    const PopoverKeyDecision decision
        = decidePopoverKey(key, Qt::KeyboardModifiers(modifiers), text, autoRepeat, m_recent->count(), nativeScanCode);
    switch (decision.action) {
    case PopoverKeyAction::Ignore:
        return false;
    case PopoverKeyAction::MoveDown:
        moveHighlight(1);
        break;
    case PopoverKeyAction::MoveUp:
        moveHighlight(-1);
        break;
    case PopoverKeyAction::CopyHighlighted:
        copyHighlighted();
        break;
    case PopoverKeyAction::CopyRow:
        copyAndClose(m_recent->clips().at(decision.row)->id);
        break;
    }
    return true;
}

void PopoverViewModel::copyHighlighted()
{
    if (m_highlighted && drawnIDs().contains(*m_highlighted))
        copyAndClose(*m_highlighted);
}

void PopoverViewModel::copyClicked(qint64 id)
{
    setCopied(id);
    copyAndClose(id);
}

void PopoverViewModel::copyAndClose(qint64 id)
{
    if (!m_store)
        return;
    m_store->copy(id, false);
    if (Clock *timer = clock())
        m_closeTimer = timer->schedule(closeDelayMs, [this] { closePopover(); });
}

bool PopoverViewModel::closePending() const { return m_closeTimer && m_closeTimer->isActive(); }

void PopoverViewModel::closePopover()
{
    if (m_host && m_host->isShown())
        m_host->performClose();
}

void PopoverViewModel::togglePin(qint64 id)
{
    if (m_store)
        m_store->togglePin(id);
}

bool PopoverViewModel::isPaused() const { return m_store && m_store->isPaused(); }

QString PopoverViewModel::pauseHelp() const
{
    return isPaused() ? QStringLiteral("Resume recording") : QStringLiteral("Pause recording for 10 minutes");
}

void PopoverViewModel::togglePause()
{
    if (!m_store)
        return;
    if (m_store->isPaused())
        m_store->resume();
    else
        m_store->pause(pauseSeconds);
}

void PopoverViewModel::openMainWindow()
{
    closePopover();
    if (m_host)
        m_host->showMainWindow();
}

void PopoverViewModel::openSettings()
{
    closePopover();
    if (m_host)
        m_host->showSettingsWindow();
}

void PopoverViewModel::quit()
{
    if (m_host)
        m_host->quit();
}

} // namespace corvane
