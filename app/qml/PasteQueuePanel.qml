import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// Floats above other windows without taking focus, so the user keeps pasting where they are.
Window {
    id: panel
    required property var controller

    flags: Qt.Tool | Qt.FramelessWindowHint | Qt.WindowStaysOnTopHint | Qt.WindowDoesNotAcceptFocus
    width: 300
    height: Math.min(360, header.height + list.contentHeight + 24)
    color: palette.window
    title: qsTr("Paste Queue")

    Rectangle {
        anchors.fill: parent
        color: "transparent"
        border.color: palette.mid
        radius: 6
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 6

        RowLayout {
            id: header
            Layout.fillWidth: true
            Label {
                text: qsTr("Paste Queue")
                font.bold: true
                Layout.fillWidth: true
            }
            Button {
                text: qsTr("Next")
                focusPolicy: Qt.NoFocus
                onClicked: panel.controller.next()
            }
            Button {
                text: qsTr("Clear")
                focusPolicy: Qt.NoFocus
                onClicked: panel.controller.clear()
            }
        }

        ListView {
            id: list
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: panel.controller.model
            delegate: Rectangle {
                required property string title
                required property bool isCurrent
                required property int position
                width: ListView.view.width
                height: 28
                radius: 4
                color: isCurrent ? palette.highlight : "transparent"
                RowLayout {
                    anchors.fill: parent
                    anchors.leftMargin: 6
                    anchors.rightMargin: 6
                    Label {
                        text: position + "."
                        color: isCurrent ? palette.highlightedText : palette.placeholderText
                    }
                    Label {
                        Layout.fillWidth: true
                        text: title
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        maximumLineCount: 1
                        color: isCurrent ? palette.highlightedText : palette.windowText
                    }
                }
            }
        }
    }
}
