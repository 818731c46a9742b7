import QtQuick
import QtQuick.Layouts
import Corvane.Design
import Corvane.Ui

// "FOUND IN THIS CLIP": dates, addresses, phone numbers, links and flights of a text, each with
// its action. Empty, it takes no space.
GlassSurface {
    id: root

    property alias text: details.text
    readonly property DetailActionsModel model: details

    cornerRadius: 14
    visible: details.count > 0
    implicitWidth: 320
    implicitHeight: visible ? column.implicitHeight + 28 : 0
    Accessible.role: Accessible.Grouping
    Accessible.name: "Found in this clip"

    DetailActionsModel { id: details }

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 14
        spacing: 10

        Text {
            text: "FOUND IN THIS CLIP"
            textFormat: Text.PlainText
            font.pointSize: Theme.footnoteSize
            font.bold: true
            font.letterSpacing: 0.6
            color: Theme.sunsetMuted
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }

        Repeater {
            model: details
            delegate: RowLayout {
                id: row
                required property int index
                required property string symbol
                required property string label
                required property string title
                Layout.fillWidth: true
                spacing: 10

                // Rows come in from the leading edge.
                opacity: 0
                transform: Translate { id: shift; x: Motion.reduceMotion ? 0 : -12 }
                Component.onCompleted: appear.start()
                ParallelAnimation {
                    id: appear
                    NumberAnimation { target: row; property: "opacity"; to: 1; duration: Motion.reduceMotion ? 0 : 220 }
                    NumberAnimation { target: shift; property: "x"; to: 0; duration: Motion.reduceMotion ? 0 : 220; easing.type: Easing.OutCubic }
                }

                Item {
                    implicitWidth: 18
                    implicitHeight: 18
                    IconImage {
                        anchors.centerIn: parent
                        iconName: row.symbol
                        color: Theme.sunsetAccent
                        size: 14
                    }
                }
                Text {
                    Layout.fillWidth: true
                    text: row.label
                    textFormat: Text.PlainText
                    font.pointSize: Theme.bodySize
                    color: Theme.sunsetInk
                    wrapMode: Text.Wrap
                    maximumLineCount: 2
                    elide: Text.ElideRight
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                PressableStyle {
                    Layout.leftMargin: 6
                    implicitHeight: 24
                    leftPadding: 10
                    rightPadding: 10
                    text: row.title
                    font.pointSize: Theme.subheadSize
                    font.weight: Font.DemiBold
                    Accessible.name: row.title + " " + row.label
                    onClicked: details.perform(row.index)
                    background: Rectangle {
                        radius: height / 2
                        gradient: SunsetAccentGradient {}
                    }
                    contentItem: Text {
                        text: parent.text
                        textFormat: Text.PlainText
                        font: parent.font
                        color: Theme.sunsetOnAccent
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                    }
                }
            }
        }
    }
}
