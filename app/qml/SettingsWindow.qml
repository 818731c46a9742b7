import QtQuick

// Hosts the settings view, which fixes its own size.
Window {
    id: window
    required property var store
    required property var settings
    required property url contentUrl
    property var host: null

    title: qsTr("Corvane Settings")
    flags: Qt.Dialog
    width: content.item ? (content.item as Item).implicitWidth : 560
    height: content.item ? (content.item as Item).implicitHeight : 420
    minimumWidth: width
    maximumWidth: width
    minimumHeight: height
    maximumHeight: height

    Loader {
        id: content
        anchors.fill: parent
        source: window.contentUrl
        // The view is known only by its address: it takes the store and the host it declares.
        onLoaded: {
            const view = item
            if (view.store !== undefined) view.store = window.store
            if (view.host !== undefined) view.host = window.host
        }
    }
}
