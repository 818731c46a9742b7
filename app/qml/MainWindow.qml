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

    title: "Corvane"
    width: 1000
    height: 680
    minimumWidth: 640
    minimumHeight: 480
    color: Theme.sunsetCream

    menuBar: AppMenuBar { commands: window.commands }

    Loader {
        id: content
        anchors.fill: parent
        source: window.contentUrl
        onStatusChanged: if (status === Loader.Error) console.warn("Corvane: the main view failed to load")
        focus: true
        // The view is known only by its address: it takes the store if it declares one.
        onLoaded: {
            const view = item
            if (view.store !== undefined) view.store = window.store
        }
    }
}
