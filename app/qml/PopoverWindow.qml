import QtQuick

// The frameless window under the tray icon; it closes as soon as it loses focus.
Window {
    id: popover
    required property url contentUrl
    required property var store
    required property var settings
    property var host: null
    property bool reduceMotion: false

    flags: Qt.Tool | Qt.FramelessWindowHint
    width: content.item && (content.item as Item).implicitWidth > 0 ? (content.item as Item).implicitWidth : 360
    height: content.item && (content.item as Item).implicitHeight > 0 ? (content.item as Item).implicitHeight : 520
    title: "Corvane"

    onActiveChanged: if (!active && visible) close()
    onVisibleChanged: if (visible && !reduceMotion) appear.restart()

    Loader {
        id: content
        anchors.fill: parent
        source: popover.contentUrl
        onStatusChanged: if (status === Loader.Error) console.warn("Corvane: the popover's view failed to load")
        // The view is known only by its address: it takes the host or the store it declares.
        onLoaded: {
            const view = item
            if (view.popoverHost !== undefined) view.popoverHost = popover.host
            else if (view.store !== undefined) view.store = popover.store
            view.forceActiveFocus()
        }
        NumberAnimation on opacity {
            id: appear
            running: false
            from: 0; to: 1; duration: 150; easing.type: Easing.OutCubic
        }
    }
}
