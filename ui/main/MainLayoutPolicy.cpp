#include "MainLayoutPolicy.h"

#include "AppSettings.h"
#include "ClipboardStore.h"

namespace corvane {

MainLayoutPolicy::Placement MainLayoutPolicy::placement(qreal width, bool showInspector, bool hasSelectedClip)
{
    if (!showInspector || !hasSelectedClip)
        return Placement::none;
    return width >= dockingThreshold ? Placement::docked : Placement::floating;
}

bool MainLayoutPolicy::shouldShowWelcome(bool didShowWelcome, bool demoSelectFirst)
{
    return !didShowWelcome && !demoSelectFirst;
}

bool MainLayoutPolicy::isHeldSpace(bool autoRepeat, qint64 msSinceSpaceRelease)
{
    // A person cannot release and press again within this time; X sends a held key's repeats so.
    constexpr qint64 repeatGapMs = 30;
    return autoRepeat || (msSinceSpaceRelease >= 0 && msSinceSpaceRelease < repeatGapMs);
}

bool MainLayoutPolicy::isTextEntry(QObject *item)
{
    return item && (item->inherits("QQuickTextInput") || item->inherits("QQuickTextEdit"));
}

QString MainLayoutPolicy::tagSheetTitle(int selectedCount)
{
    return selectedCount < 2 ? QStringLiteral("Tag clip") : QStringLiteral("Tag %1 clips").arg(selectedCount);
}

MainLayoutPolicy::MainLayoutPolicy(QObject *parent)
    : QObject(parent)
{
}

void MainLayoutPolicy::setStore(ClipboardStore *store)
{
    if (m_store == store)
        return;
    for (const auto &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_store = store;
    if (store) {
        for (auto signal :
             {&ClipboardStore::selectionChanged, &ClipboardStore::clipsChanged, &ClipboardStore::showInspectorChanged})
            m_connections << connect(store, signal, this, &MainLayoutPolicy::updatePlacement);
        m_connections << connect(store, &ClipboardStore::quickLookClipChanged, this, &MainLayoutPolicy::followStoreSheets)
                      << connect(store, &ClipboardStore::showTagPickerChanged, this, &MainLayoutPolicy::followStoreSheets);
    }
    emit storeChanged();
    updatePlacement();
    followStoreSheets();
}

void MainLayoutPolicy::setSettings(AppSettings *settings)
{
    if (m_settings == settings)
        return;
    m_settings = settings;
    emit settingsChanged();
}

void MainLayoutPolicy::setSidebarVisible(bool visible)
{
    if (m_sidebarVisible == visible)
        return;
    m_sidebarVisible = visible;
    emit sidebarVisibleChanged();
}

QString MainLayoutPolicy::inspectorPlacementName() const
{
    switch (m_placement) {
    case Placement::docked:
        return QStringLiteral("docked");
    case Placement::floating:
        return QStringLiteral("floating");
    case Placement::none:
        break;
    }
    return QStringLiteral("none");
}

QString MainLayoutPolicy::activeSheetName() const
{
    switch (m_sheet) {
    case Sheet::quickLook:
        return QStringLiteral("quickLook");
    case Sheet::tagPicker:
        return QStringLiteral("tagPicker");
    case Sheet::welcome:
        return QStringLiteral("welcome");
    case Sheet::none:
        break;
    }
    return {};
}

void MainLayoutPolicy::updateWidth(qreal width)
{
    if (m_width != width) {
        m_width = width;
        emit widthChanged();
        updatePlacement();
    }
    const bool target = sidebarTarget(width);
    if (target == m_lastSidebarTarget)
        return;
    m_lastSidebarTarget = target;
    setSidebarVisible(target);
}

bool MainLayoutPolicy::hasSelectedClip() const
{
    const auto id = m_store ? m_store->selectedID() : std::nullopt;
    return id && m_store->clip(*id);
}

void MainLayoutPolicy::updatePlacement()
{
    const Placement next = placement(m_width, m_store && m_store->showInspector(), hasSelectedClip());
    if (next == m_placement)
        return;
    m_placement = next;
    emit inspectorPlacementChanged();
}

void MainLayoutPolicy::followStoreSheets()
{
    if (!m_store)
        return;
    const bool wantsQuickLook = m_store->quickLookClip().has_value();
    const bool wantsTags = m_store->showTagPicker();
    // A sheet closed from the store's side (its clip went away) closes here too.
    if ((m_sheet == Sheet::quickLook && !wantsQuickLook) || (m_sheet == Sheet::tagPicker && !wantsTags))
        setSheet(Sheet::none);
    if (wantsQuickLook && m_sheet != Sheet::quickLook) {
        if (m_sheet == Sheet::none)
            setSheet(Sheet::quickLook);
        else
            m_store->setQuickLookClip(std::nullopt);
    }
    if (wantsTags && m_sheet != Sheet::tagPicker) {
        if (m_sheet == Sheet::none)
            setSheet(Sheet::tagPicker);
        else
            m_store->setShowTagPicker(false);
    }
}

void MainLayoutPolicy::showWelcomeIfNeeded()
{
    const bool seen = m_settings && m_settings->didShowWelcomeTour();
    const bool demo = m_settings && m_settings->demoFlag(QStringLiteral("CVDemoSelectFirst"));
    if (shouldShowWelcome(seen, demo))
        requestWelcome();
}

void MainLayoutPolicy::requestWelcome()
{
    if (m_sheet == Sheet::none)
        setSheet(Sheet::welcome);
}

void MainLayoutPolicy::sheetDismissed()
{
    const Sheet closed = m_sheet;
    setSheet(Sheet::none);
    if (closed == Sheet::quickLook && m_store)
        m_store->setQuickLookClip(std::nullopt);
    else if (closed == Sheet::tagPicker && m_store)
        m_store->setShowTagPicker(false);
    else if (closed == Sheet::welcome && m_settings)
        m_settings->setDidShowWelcomeTour(true);
}

bool MainLayoutPolicy::copySelectedClip()
{
    const auto id = m_store ? m_store->selectedID() : std::nullopt;
    if (m_sheet != Sheet::none || !id)
        return false;
    return m_store->copy(*id);
}

void MainLayoutPolicy::setSheet(Sheet sheet)
{
    if (m_sheet == sheet)
        return;
    m_sheet = sheet;
    emit activeSheetChanged();
}

} // namespace corvane
