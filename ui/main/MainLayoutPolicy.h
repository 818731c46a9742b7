#pragma once

#include "AppSettings.h"
#include "ClipboardStore.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/**
 * @brief The main window's layout and sheet rules: the sidebar by width, where the inspector goes,
 * whether the welcome tour opens by itself, and one sheet at a time.
 *
 * The sidebar follows the width only when the width crosses the threshold, so a sidebar the user
 * showed or hid by hand keeps that state while the window is resized on the same side. A sheet
 * asked for while another is open is refused and its request cleared in the store, so asking again
 * later works.
 */
class MainLayoutPolicy : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(corvane::ClipboardStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(corvane::AppSettings *settings READ settings WRITE setSettings NOTIFY settingsChanged)
    Q_PROPERTY(qreal width READ width NOTIFY widthChanged)
    Q_PROPERTY(bool sidebarVisible READ sidebarVisible WRITE setSidebarVisible NOTIFY sidebarVisibleChanged)
    Q_PROPERTY(QString inspectorPlacement READ inspectorPlacementName NOTIFY inspectorPlacementChanged)
    Q_PROPERTY(QString activeSheet READ activeSheetName NOTIFY activeSheetChanged)

public:
    static constexpr qreal sidebarThreshold = 820;
    static constexpr qreal dockingThreshold = 960;

    enum class Placement { none, docked, floating };
    enum class Sheet { none, quickLook, tagPicker, welcome };

    static bool sidebarTarget(qreal width) { return width >= sidebarThreshold; }
    static Placement placement(qreal width, bool showInspector, bool hasSelectedClip);
    static bool shouldShowWelcome(bool didShowWelcome, bool demoSelectFirst);
    /**
     * Whether a Space press in Quick Look is a held key's repeat: flagged so, or straight after a
     * release (a repeat sent as release and press). -1: no release since the sheet opened.
     */
    static bool isHeldSpace(bool autoRepeat, qint64 msSinceSpaceRelease);
    Q_INVOKABLE static bool spaceClosesQuickLook(bool autoRepeat, qint64 msSinceSpaceRelease)
    {
        return !isHeldSpace(autoRepeat, msSinceSpaceRelease);
    }
    /** A text field or editor has the focus: Return is its own, never the window's default action. */
    Q_INVOKABLE static bool isTextEntry(QObject *item);
    /** "Tag clip" for fewer than two selected clips, else "Tag 3 clips". */
    Q_INVOKABLE static QString tagSheetTitle(int selectedCount);

    explicit MainLayoutPolicy(QObject *parent = nullptr);

    ClipboardStore *store() const { return m_store; }
    void setStore(ClipboardStore *store);
    AppSettings *settings() const { return m_settings; }
    void setSettings(AppSettings *settings);

    qreal width() const { return m_width; }
    bool sidebarVisible() const { return m_sidebarVisible; }
    /** The user's own choice (the toolbar button); kept until the width crosses the threshold. */
    void setSidebarVisible(bool visible);
    Placement inspectorPlacement() const { return m_placement; }
    QString inspectorPlacementName() const;
    Sheet activeSheet() const { return m_sheet; }
    QString activeSheetName() const;

    /** A new measured width of the window's content. */
    Q_INVOKABLE void updateWidth(qreal width);
    Q_INVOKABLE void toggleSidebar() { setSidebarVisible(!m_sidebarVisible); }
    /** On first showing the window: the tour, unless it was seen or this is a demonstration launch. */
    Q_INVOKABLE void showWelcomeIfNeeded();
    /** The tour asked for from the Help menu: shown even when seen before. */
    Q_INVOKABLE void requestWelcome();
    /** The open sheet went away, however it was closed. */
    Q_INVOKABLE void sheetDismissed();
    /** Return at the window's root: copies the selected clip unless a sheet is open. */
    Q_INVOKABLE bool copySelectedClip();

signals:
    void storeChanged();
    void settingsChanged();
    void widthChanged();
    void sidebarVisibleChanged();
    void inspectorPlacementChanged();
    void activeSheetChanged();

private:
    bool hasSelectedClip() const;
    void updatePlacement();
    void followStoreSheets();
    void setSheet(Sheet sheet);

    QPointer<ClipboardStore> m_store;
    QPointer<AppSettings> m_settings;
    QList<QMetaObject::Connection> m_connections;
    qreal m_width = 1200;
    bool m_sidebarVisible = true;
    bool m_lastSidebarTarget = true;
    Placement m_placement = Placement::none;
    Sheet m_sheet = Sheet::none;
};

} // namespace corvane
