import QtQuick
import Corvane.Design

// A capsule search field: magnifier, plain text, clear button while there is text. It takes the
// keyboard focus when `focusNotification` is posted on AppEvents and gives it up on
// "CVReleaseSearchFocus".
FocusScope {
    id: root

    property alias text: input.text
    property string placeholder
    property string focusNotification
    readonly property bool editing: input.activeFocus

    implicitWidth: 240
    implicitHeight: 30

    Connections {
        target: AppEvents
        function onPosted(name) {
            if (root.focusNotification.length > 0 && name === root.focusNotification) {
                input.forceActiveFocus()
            } else if (name === AppEvents.releaseSearchFocusName) {
                input.focus = false
                root.focus = false
            }
        }
    }

    GlassSurface {
        anchors.fill: parent
        cornerRadius: height / 2
    }

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: "transparent"
        border.width: 1.5
        border.color: Qt.rgba(Theme.sunsetAccent.r, Theme.sunsetAccent.g, Theme.sunsetAccent.b, 0.45)
        visible: input.activeFocus
    }

    IconImage {
        id: magnifier
        anchors.left: parent.left
        anchors.leftMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        iconName: "magnifyingglass"
        color: Theme.sunsetMuted
        size: 13
    }

    TextInput {
        id: input
        objectName: "searchInput"
        anchors.left: magnifier.right
        anchors.leftMargin: 7
        anchors.right: clear.visible ? clear.left : parent.right
        anchors.rightMargin: clear.visible ? 2 : 10
        anchors.verticalCenter: parent.verticalCenter
        focus: true
        clip: true
        font.pointSize: Theme.bodySize
        color: Theme.sunsetInk
        selectionColor: Qt.rgba(Theme.sunsetAccent.r, Theme.sunsetAccent.g, Theme.sunsetAccent.b, 0.3)
        selectedTextColor: Theme.sunsetInk
        selectByMouse: true
        // Read as a search entry named by its placeholder; its value is what is typed.
        Accessible.role: Accessible.EditableText
        Accessible.name: root.placeholder.length > 0 ? root.placeholder : qsTr("Search")
        Accessible.searchEdit: true

        Text {
            anchors.fill: parent
            verticalAlignment: Text.AlignVCenter
            text: root.placeholder
            textFormat: Text.PlainText
            elide: Text.ElideRight
            font: input.font
            color: Theme.sunsetFaint
            visible: input.text.length === 0
            Accessible.ignored: true // already the field's name
        }
    }

    IconButton {
        id: clear
        objectName: "clearButton"
        anchors.right: parent.right
        anchors.rightMargin: 4
        anchors.verticalCenter: parent.verticalCenter
        visible: input.text.length > 0
        iconName: "xmark.circle.fill"
        iconColor: Theme.sunsetFaint
        iconSize: 13
        help: qsTr("Clear")
        onClicked: input.text = ""
    }
}
