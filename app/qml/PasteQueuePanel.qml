pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Corvane.Design

// Floats above other windows without taking focus, so the user keeps pasting where they are.
Window {
    id: panel
    required property var controller

    flags: Qt.Tool | Qt.FramelessWindowHint | Qt.WindowStaysOnTopHint | Qt.WindowDoesNotAcceptFocus
    width: 320
    height: Math.min(380, layout.implicitHeight + 24)
    color: Theme.sunsetCream
    title: qsTr("Paste Queue")

    Rectangle {
        anchors.fill: parent
        color: "transparent"
        border.color: Theme.sunsetStroke
    }

    ColumnLayout {
        id: layout
        anchors.fill: parent
        anchors.margins: 12
        spacing: 8

        Label {
            text: qsTr("Paste Queue")
            color: Theme.sunsetInk
            font.bold: true
        }

        ListView {
            id: list
            Accessible.role: Accessible.List
            Accessible.name: qsTr("Paste Queue")
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.preferredHeight: contentHeight
            interactive: contentHeight > height
            clip: true
            spacing: 2
            model: panel.controller.model
            delegate: Rectangle {
                id: entry
                required property string title
                required property bool isCurrent
                required property int position
                width: ListView.view.width
                height: 28
                radius: 8
                color: isCurrent ? Theme.sunsetHighlight : "transparent"
                Accessible.role: Accessible.ListItem
                Accessible.name: title
                Accessible.selected: isCurrent
                RowLayout {
                    anchors.fill: parent
                    anchors.leftMargin: 8
                    anchors.rightMargin: 8
                    spacing: 6
                    Label {
                        text: entry.position + "."
                        color: Theme.sunsetMuted
                    }
                    Label {
                        Layout.fillWidth: true
                        text: entry.title
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        maximumLineCount: 1
                        color: Theme.sunsetInk
                        font.bold: entry.isCurrent
                    }
                }
            }
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 8
            SunsetSecondaryButtonStyle {
                text: qsTr("Next")
                focusPolicy: Qt.NoFocus
                onClicked: panel.controller.next()
            }
            SunsetSecondaryButtonStyle {
                text: qsTr("Clear")
                isDestructive: true
                focusPolicy: Qt.NoFocus
                onClicked: panel.controller.clear()
            }
        }
    }
}
