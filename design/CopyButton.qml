import QtQuick
import Corvane.Design

// "doc.on.doc"; after a click a green "checkmark" for 1.2 s. The parent's onClicked runs the copy.
IconButton {
    id: control

    property bool copied: false
    readonly property Timer markTimer: timer

    help: qsTr("Copy")
    iconName: copied ? "checkmark" : "doc.on.doc"
    iconColor: copied ? Theme.sunsetGreen : Theme.sunsetMuted

    onClicked: {
        copied = true
        timer.restart()
    }

    Timer {
        id: timer
        interval: 1200
        onTriggered: control.copied = false
    }
}
