import QtQuick
import QtQuick.Controls
import Corvane.Engine
import Corvane.Ui
import Corvane.Design

// A month of days to jump to: month buttons, the weekday row and a 7-column grid. Days with clips
// carry an accent dot and can be picked; picking filters the list to that day, then `picked()`.
Item {
    id: calendar

    property ClipboardStore store: ClipboardStore
    readonly property alias model: days
    signal picked()

    implicitWidth: 260
    implicitHeight: column.implicitHeight + 28

    ClipCalendarModel {
        id: days
        store: calendar.store
        onPicked: calendar.picked()
    }

    Column {
        id: column
        x: 14
        y: 14
        width: parent.width - 28
        spacing: 10

        Item {
            width: parent.width
            height: 24
            IconButton {
                objectName: "previousMonth"
                anchors.left: parent.left
                anchors.verticalCenter: parent.verticalCenter
                iconName: "chevron.left"
                help: qsTr("Previous month")
                onClicked: days.shiftMonth(-1)
            }
            Text {
                objectName: "monthTitle"
                anchors.centerIn: parent
                text: days.title
                textFormat: Text.PlainText
                font.pointSize: Theme.bodySize
                font.weight: Font.DemiBold
                color: Theme.sunsetInk
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            IconButton {
                objectName: "nextMonth"
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                iconName: "chevron.right"
                help: qsTr("Next month")
                onClicked: days.shiftMonth(1)
            }
        }

        // Seven 30-point columns 3 apart: 228 points, inside the 232 between the paddings.
        Grid {
            columns: 7
            columnSpacing: 3
            rowSpacing: 4
            Repeater {
                model: days.weekdaySymbols
                delegate: Text {
                    required property string modelData
                    width: 30
                    horizontalAlignment: Text.AlignHCenter
                    text: modelData
                    textFormat: Text.PlainText
                    font.pointSize: Theme.tinySize
                    font.weight: Font.DemiBold
                    color: Theme.sunsetFaint
                    Accessible.ignored: true
                }
            }
            Repeater {
                model: days
                delegate: AbstractButton {
                    id: cell
                    required property int index
                    required property int day
                    required property bool isBlank
                    required property bool isToday
                    required property bool hasClips
                    required property string accessibleName
                    objectName: isBlank ? "" : "day-" + day
                    width: 30
                    height: 30
                    enabled: hasClips
                    focusPolicy: Qt.NoFocus
                    Accessible.role: Accessible.Button
                    Accessible.name: accessibleName
                    Accessible.ignored: isBlank
                    onClicked: days.pick(index)
                    background: Rectangle {
                        radius: 15
                        color: cell.isToday ? Theme.sunsetHoverShade : cell.hovered && cell.enabled ? Theme.sunsetPanel : "transparent"
                    }
                    contentItem: Item {
                        visible: !cell.isBlank
                        Text {
                            anchors.centerIn: parent
                            anchors.verticalCenterOffset: -2
                            text: cell.day
                            textFormat: Text.PlainText
                            font.pointSize: Theme.subheadSize
                            font.bold: cell.isToday
                            color: cell.hasClips ? Theme.sunsetInk : Theme.sunsetFaint
                        }
                        Rectangle {
                            anchors.horizontalCenter: parent.horizontalCenter
                            anchors.bottom: parent.bottom
                            anchors.bottomMargin: 3
                            width: 4
                            height: 4
                            radius: 2
                            color: cell.hasClips ? Theme.sunsetAccent : "transparent"
                        }
                    }
                }
            }
        }
    }
}
