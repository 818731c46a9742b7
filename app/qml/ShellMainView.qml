import QtQuick
import QtQuick.Controls
import Corvane.Main

// The shell's main view until the full main view arrives: the clip list over the whole window.
Item {
    id: view
    property var store: null

    implicitWidth: 720
    implicitHeight: 560

    ClipListView {
        id: clipList
        anchors.fill: parent
        focus: true
        store: view.store
        onSettingsRequested: {
            const window = view.Window.window
            if (window && window.commands)
                window.commands.openSettings()
        }
    }
}
