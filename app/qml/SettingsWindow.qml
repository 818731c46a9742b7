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
    width: content.item ? content.item.implicitWidth : 560
    height: content.item ? content.item.implicitHeight : 420
    minimumWidth: width
    maximumWidth: width
    minimumHeight: height
    maximumHeight: height

    Loader {
        id: content
        anchors.fill: parent
        source: window.contentUrl
        onLoaded: {
            if (item.store !== undefined) item.store = window.store
            if (item.host !== undefined) item.host = window.host
        }
    }
}
