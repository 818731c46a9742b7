import QtQuick
import QtQuick.Controls
import Corvane.Design
import Corvane.Main
import Corvane.Sidebar

// The shell's main view until the full main view arrives: the sidebar (in a window wide enough for
// it) beside the clip list. It also presents the welcome tour from the Help menu.
Item {
    id: view
    property var store: null

    implicitWidth: 720
    implicitHeight: 560

    readonly property bool wide: width >= 600

    WindowSunset { anchors.fill: parent }

    Loader {
        id: sidebar
        objectName: "sidebar"
        active: view.wide && view.store !== null
        x: 10
        y: 10
        width: 250
        height: view.height - 20
        sourceComponent: SidebarView { store: view.store }
    }

    ClipListView {
        id: clipList
        anchors.fill: parent
        anchors.leftMargin: sidebar.active ? sidebar.width + 20 : 0
        focus: true
        store: view.store
        onSettingsRequested: {
            const window = view.Window.window
            if (window && window.commands)
                window.commands.openSettings()
        }
    }

    WelcomeSheet {
        id: welcome
        // The tour counts as shown however it is closed.
        onDismissed: if (view.store) view.store.settings.didShowWelcomeTour = true
    }
    Connections {
        target: AppEvents
        enabled: view.wide
        function onShowWelcomeTour() { welcome.open() }
    }
}
