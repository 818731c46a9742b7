import QtQuick
import QtQuick.Controls
import Corvane.Design

// The main window: the app's menus above the hosted main view.
ApplicationWindow {
    id: window
    required property var store
    required property var settings
    required property var commands
    required property url contentUrl
    // Shown instead when the hosted view fails to load, so the window is never empty.
    required property url fallbackUrl

    title: "Corvane"
    width: 1000
    height: 680
    minimumWidth: 640
    minimumHeight: 420
    color: Theme.sunsetCream

    menuBar: AppMenuBar { commands: window.commands }

    Loader {
        id: content
        anchors.fill: parent
        source: window.contentUrl
        onStatusChanged: {
            if (status === Loader.Error && source !== window.fallbackUrl) {
                console.warn("Corvane: falling back to the shell's view for", window.contentUrl)
                source = window.fallbackUrl
            }
        }
        focus: true
        onLoaded: if (item.store !== undefined) item.store = window.store
    }
}
