import QtQuick
import QtQuick.Controls
import Qt5Compat.GraphicalEffects
import Corvane.Main
import Corvane.Design

// A pinned clip as a 130 x 76 card: its picture, or its group and a two-line title. Click copies,
// a secondary click opens the clip menu. Cards are not dragged.
HoverLift {
    id: card

    required property var clipId
    required property string group
    required property string groupName
    required property string title
    required property string colorHex
    required property bool hasThumbnail
    required property string thumbnailUrl
    property var terms: []

    signal copyRequested()
    signal menuRequested()

    radius: 12
    width: 130
    height: 76
    implicitWidth: 130
    implicitHeight: 76
    // A row of the pinned list; the button inside adds nothing a reader needs.
    Accessible.role: Accessible.ListItem
    Accessible.name: title
    Accessible.onPressAction: card.copyRequested()

    PressableStyle {
        id: button
        anchors.fill: parent
        onClicked: card.copyRequested()
        ToolTip.text: qsTr("Click to copy")
        ToolTip.visible: hovered
        ToolTip.delay: 900
        Accessible.ignored: true

        background: Rectangle {
            radius: 12
            color: Theme.sunsetPanel
            border.width: 1
            border.color: Theme.sunsetStroke
        }

        contentItem: Item {
            Item {
                x: 9
                y: 9
                width: 112
                height: 52
                visible: card.hasThumbnail
                Image {
                    id: thumb
                    anchors.fill: parent
                    visible: false
                    source: card.thumbnailUrl
                    sourceSize: Qt.size(224, 104)
                    fillMode: Image.PreserveAspectCrop
                    asynchronous: true
                }
                Rectangle { id: shape; anchors.fill: parent; radius: 8; visible: false }
                OpacityMask { anchors.fill: parent; source: thumb; maskSource: shape }
            }

            Column {
                x: 9
                y: 9
                width: 112
                spacing: 6
                visible: !card.hasThumbnail

                Row {
                    spacing: 6
                    ClipLeadingVisual {
                        anchors.verticalCenter: parent.verticalCenter
                        group: card.group
                        colorHex: card.colorHex
                        size: 16
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: card.groupName
                        Accessible.name: text
                        textFormat: Text.PlainText
                        font.pointSize: Theme.captionSize
                        color: Theme.sunsetMuted
                    }
                }
                HighlightedText {
                    width: parent.width
                    text: card.title
                    terms: card.terms
                    maximumLineCount: 2
                    font.pointSize: Theme.calloutSize
                    font.weight: Font.Medium
                }
            }
        }
    }

    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: card.menuRequested()
    }
}
