#include "ClipListController.h"

#include "AppSettings.h"
#include "ClipListModel.h"
#include "KeyLegend.h"
#include "SearchQuery.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <algorithm>

namespace corvane {

namespace ClipListRules {

QString countLine(int total, int selected)
{
    QString line = QString::number(total) + (total == 1 ? QStringLiteral(" item") : QStringLiteral(" items"));
    if (selected >= 2)
        line += QStringLiteral(" · %1 selected").arg(selected);
    return line;
}

EmptyState emptyState(const QString &searchText, const ClipFilter &filter)
{
    // The same trimmed test the list uses: spaces alone search nothing, so they match nothing less.
    if (!searchText.trimmed().isEmpty())
        return {QStringLiteral("magnifyingglass"), QStringLiteral("No clips match your search.")};
    switch (filter.kind) {
    case ClipFilter::Kind::pinned:
        return {QStringLiteral("pin"),
                QStringLiteral("Pin up to %1 clips with %2 to keep them on top.")
                    .arg(ClipboardStore::pinLimit)
                    .arg(KeyLegend::text(KeyLegend::pin()))};
    case ClipFilter::Kind::day:
        return {QStringLiteral("calendar"), QStringLiteral("Nothing was copied on this day.")};
    default:
        return {QStringLiteral("doc.on.clipboard"), QStringLiteral("Copy anything and it appears here.")};
    }
}

std::optional<QString> tabSelection(const ClipFilter &filter)
{
    if (filter.kind == ClipFilter::Kind::all)
        return QString();
    if (filter.kind == ClipFilter::Kind::group)
        return ClipGroups::rawValue(filter.group);
    return std::nullopt;
}

ClipFilter filterForTab(const QString &group)
{
    const auto g = ClipGroups::fromRawValue(group);
    return g ? ClipFilter::ofGroup(*g) : ClipFilter::all();
}

} // namespace ClipListRules

ClipListController::ClipListController(QObject *parent)
    : QObject(parent)
{
}

bool ClipListController::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    // Synthetic events carry no time; then nothing is known.
    if (event->type() == QEvent::KeyRelease) {
        m_releasedKey = key->key();
        m_releasedAt = key->timestamp();
    } else {
        m_pressedKey = key->key();
        m_pressGap
            = key->timestamp() && m_releasedAt && m_releasedKey == key->key() ? qint64(key->timestamp() - m_releasedAt) : -1;
    }
    return false;
}

void ClipListController::setStore(ClipboardStore *store)
{
    if (store == m_store)
        return;
    // Sees every key event before the views do, for its time (see handleKey).
    if (!m_watchingKeys && QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
        m_watchingKeys = true;
    }
    for (const auto &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_store = store;
    if (store) {
        // Connected after the store's list model, which updates first on the same signals.
        auto header = [this] { emit headerChanged(); };
        m_connections = {
            connect(store, &ClipboardStore::clipsChanged, this, &ClipListController::clipsChanged),
            connect(store, &ClipboardStore::filterChanged, this, header),
            connect(store, &ClipboardStore::searchTextChanged, this,
                    [this] {
                        updateTerms();
                        emit headerChanged();
                    }),
            connect(store, &ClipboardStore::selectionChanged, this,
                    [this] {
                        emit headerChanged();
                        emit selectedRowChanged();
                    }),
            // A large history's search lands later than its keystroke: the count and row follow it.
            connect(store, &ClipboardStore::visibleSearchFinished, this,
                    [this] {
                        emit headerChanged();
                        emit selectedRowChanged();
                    }),
            connect(store, &ClipboardStore::noticeChanged, this, &ClipListController::bannerChanged),
            connect(store, &ClipboardStore::historyProblemChanged, this, &ClipListController::bannerChanged),
            connect(store->settings(), &AppSettings::photoGridEnabledChanged, this, header),
        };
    }
    m_groups.clear();
    if (store)
        clipsChanged();
    updateTerms();
    emit storeChanged();
    emit headerChanged();
    emit bannerChanged();
    emit selectedRowChanged();
}

void ClipListController::clipsChanged()
{
    QStringList groups;
    const QList<ClipGroup> available = m_store->availableGroups();
    for (ClipGroup group : available)
        groups << ClipGroups::rawValue(group);
    m_groups = groups;
    // A group tab whose last clip went would leave an empty list under a tab that is gone.
    const ClipFilter &filter = m_store->filter();
    if (filter.kind == ClipFilter::Kind::group && !available.contains(filter.group)) {
        m_store->setFilter(ClipFilter::all());
        return; // the filter change brings the header up to date
    }
    emit headerChanged();
    emit selectedRowChanged();
}

void ClipListController::updateTerms()
{
    QStringList terms;
    if (m_store && !m_store->searchText().trimmed().isEmpty())
        terms = SearchQuery::parse(m_store->searchText(), m_store->now(), m_store->timeZone()).terms;
    if (terms == m_terms)
        return;
    m_terms = terms;
    emit searchTermsChanged();
}

QString ClipListController::filterTitle() const { return m_store ? m_store->filterTitle() : QString(); }

QString ClipListController::countLine() const
{
    const int total = m_store ? m_store->clipModel()->count() : 0;
    return ClipListRules::countLine(total, int(visibleSelection().size()));
}

bool ClipListController::showsDayChip() const { return m_store && m_store->filter().kind == ClipFilter::Kind::day; }

bool ClipListController::isEmpty() const { return !m_store || m_store->clipModel()->count() == 0; }

ClipListRules::EmptyState ClipListController::emptyState() const
{
    return m_store ? ClipListRules::emptyState(m_store->searchText(), m_store->filter())
                   : ClipListRules::emptyState({}, ClipFilter::all());
}

QString ClipListController::tabSelectionValue() const
{
    return ClipListRules::tabSelection(m_store ? m_store->filter() : ClipFilter::all()).value_or(QStringLiteral("none"));
}

bool ClipListController::showsPhotoGrid() const
{
    return m_store && m_store->filter() == ClipFilter::ofGroup(ClipGroup::image) && m_store->settings()->photoGridEnabled();
}

bool ClipListController::previewEnabled() const { return bool(selectedClip()); }

bool ClipListController::bannerVisible() const { return !bannerMessage().isEmpty(); }

QString ClipListController::bannerMessage() const
{
    if (!m_store)
        return {};
    const auto &notice = m_store->notice();
    if (notice && notice->kind == Notice::Kind::warning)
        return notice->message;
    return m_store->historyProblem();
}

QString ClipListController::bannerId() const
{
    if (!m_store)
        return {};
    const auto &notice = m_store->notice();
    if (notice && notice->kind == Notice::Kind::warning)
        return notice->id.toString(QUuid::WithoutBraces);
    return m_store->historyProblem().isEmpty() ? QString() : QStringLiteral("history");
}

QList<std::int64_t> ClipListController::visibleSelection() const
{
    QList<std::int64_t> out;
    if (!m_store)
        return out;
    const ClipListModel *model = m_store->clipModel();
    std::vector<int> rows;
    for (std::int64_t id : m_store->selectedIDs()) {
        const int row = model->rowOf(id);
        if (row >= 0)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    // Ids only: a large selection's clips need not be read to count or act on them.
    out.reserve(qsizetype(rows.size()));
    for (int row : rows)
        out.append(model->idAt(row));
    return out;
}

ClipRef ClipListController::selectedClip() const
{
    if (!m_store || !m_store->selectedID() || m_store->clipModel()->rowOf(*m_store->selectedID()) < 0)
        return nullptr;
    return m_store->clip(*m_store->selectedID());
}

int ClipListController::selectedRow() const
{
    return m_store && m_store->selectedID() ? m_store->clipModel()->rowOf(*m_store->selectedID()) : -1;
}

bool ClipListController::handleKey(int key, int modifiers, bool autoRepeat, qint64 msSinceRelease)
{
    if (!m_store)
        return false;
    if (msSinceRelease == -2)
        msSinceRelease = key == m_pressedKey ? m_pressGap : -1;
    const ClipRef selected = selectedClip();
    const QList<std::int64_t> ids = visibleSelection();
    const ListKeyAction action = decideListKey(key, Qt::KeyboardModifiers(modifiers), isHeldKeyRepeat(autoRepeat, msSinceRelease),
                                               bool(selected), int(ids.size()));
    switch (action) {
    case ListKeyAction::Pass:
        return false;
    case ListKeyAction::Nothing:
        break;
    case ListKeyAction::Copy:
        m_store->copy(selected->id, false);
        break;
    case ListKeyAction::CopyPlain:
        m_store->copy(selected->id, true);
        break;
    case ListKeyAction::CopyMany:
        m_store->copyClips(ids);
        break;
    case ListKeyAction::QuickLook:
        m_store->setQuickLookClip(selected->id);
        break;
    case ListKeyAction::ClearSelection:
        m_store->clearSelection();
        break;
    case ListKeyAction::Delete:
        m_store->deleteClip(selected->id);
        break;
    case ListKeyAction::DeleteMany:
        m_store->deleteClips(ids);
        break;
    case ListKeyAction::MoveUp:
        m_store->moveSelection(-1);
        break;
    case ListKeyAction::MoveDown:
        m_store->moveSelection(1);
        break;
    }
    return true;
}

void ClipListController::click(qint64 id, int modifiers)
{
    if (!m_store)
        return;
    const auto mods = Qt::KeyboardModifiers(modifiers);
    const bool ctrl = mods & Qt::ControlModifier;
    m_store->select(id, ctrl, !ctrl && (mods & Qt::ShiftModifier));
}

void ClipListController::pickTab(const QString &group)
{
    if (m_store)
        m_store->setFilter(ClipListRules::filterForTab(group));
}

void ClipListController::showAllDays()
{
    if (m_store)
        m_store->setFilter(ClipFilter::all());
}

void ClipListController::togglePreview()
{
    if (m_store && previewEnabled())
        m_store->setShowInspector(!m_store->showInspector());
}

QVariantList ClipListController::dragIds(qint64 id) const
{
    QVariantList out;
    if (!m_store)
        return out;
    const QList<std::int64_t> selection = visibleSelection();
    if (selection.size() >= 2 && selection.contains(id)) {
        for (const std::int64_t selected : selection)
            out << qint64(selected);
    } else {
        out << id;
    }
    return out;
}

} // namespace corvane
