import QtQuick
import QtQuick.Window

// Opens once the window of `item` has shown a frame. What the first look can go without (rows
// beyond the view, blurs) waits for it: made before, it holds that frame up.
QtObject {
    id: gate

    required property Item item
    property bool open: false

    readonly property Connections watcher: Connections {
        target: gate.open || !gate.item ? null : gate.item.Window.window
        function onFrameSwapped() { gate.open = true }
    }
}
