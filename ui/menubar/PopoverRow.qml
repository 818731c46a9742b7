import QtQuick
import QtQuick.Controls
import Qt5Compat.GraphicalEffects
import Corvane.Main
import Corvane.Ui
import Corvane.Design

// One recent clip in the popover: leading visual, title and subtitle, and a trailing mark (the
// copied check, the pin button while hovered, or the row's Ctrl-number). Click copies, a drag
// exports the clip, a secondary click opens the clip menu.
HoverLift {
    id: row

    property var clipId
    property string group
    property string title
    property string subtitle
    property string colorHex
    property bool hasThumbnail: false
    property string thumbnailUrl
    property int leadingSize: 24
    property bool monospaced: false
    property bool isPinned: false
    property string shortcutLabel
    property bool highlighted: false
    property bool copied: false
    property var terms: []

    signal copyRequested()
    signal pinRequested()
    signal menuRequested()
    signal dragRequested()

    readonly property bool hovering: hover.hovered
    readonly property int trailingMark: PopoverRowStyle.trailingMark(copied, hovering, shortcutLabel.length > 0)

    radius: 12
    implicitHeight: Math.max(leadingSize, titles.implicitHeight) + 16
    implicitWidth: 316

    Accessible.role: Accessible.ListItem
    Accessible.name: title
    Accessible.description: subtitle
    Accessible.selected: highlighted
    Accessible.onPressAction: row.copyRequested()

    ToolTip.text: qsTr("Click to copy")
    ToolTip.visible: hover.hovered && !drag.active
    ToolTip.delay: 900

    Rectangle {
        id: card
        anchors.fill: parent
        radius: 12
        color: row.hovering || row.highlighted ? Theme.sunsetPanelStrong : Theme.sunsetPanel
        border.width: 1
        border.color: row.highlighted
                      ? Qt.rgba(Theme.sunsetAccent.r, Theme.sunsetAccent.g, Theme.sunsetAccent.b, 0.5)
                      : Theme.sunsetStroke
        Behavior on color { enabled: !Motion.reduceMotion; ColorAnimation { duration: Animations.hover.duration } }

        Row {
            anchors.fill: parent
            anchors.leftMargin: 12
            anchors.rightMargin: 12
            spacing: 10

            Item {
                id: leading
                width: row.leadingSize
                height: row.leadingSize
                anchors.verticalCenter: parent.verticalCenter

                Image {
                    id: thumb
                    anchors.fill: parent
                    visible: false
                    source: row.thumbnailUrl
                    sourceSize: Qt.size(88, 88)
                    fillMode: Image.PreserveAspectCrop
                    asynchronous: true
                }
                Rectangle { id: thumbShape; anchors.fill: parent; radius: 8; visible: false }
                OpacityMask {
                    anchors.fill: parent
                    visible: row.hasThumbnail
                    source: thumb
                    maskSource: thumbShape
                }
                ClipLeadingVisual {
                    anchors.fill: parent
                    visible: !row.hasThumbnail
                    group: row.group
                    colorHex: row.colorHex
                    size: row.leadingSize
                }
            }

            // Sized by bindings, not by a Column: a positioner settles its height only at its
            // next polish, and a row that grows after the list placed it keeps the list
            // relaying out (and creating rows) without end.
            Item {
                id: titles
                width: parent.width - leading.width - trailing.width - 2 * parent.spacing
                implicitHeight: titleText.implicitHeight + 2 + subtitleText.implicitHeight
                height: implicitHeight
                anchors.verticalCenter: parent.verticalCenter

                HighlightedText {
                    id: titleText
                    objectName: "rowTitle"
                    width: parent.width
                    text: row.title
                    terms: row.terms
                    font.family: row.monospaced ? Theme.monospaceFamily : Qt.application.font.family
                    font.pointSize: row.monospaced ? Theme.subheadSize : Theme.popoverTitleSize
                    font.weight: row.monospaced ? Font.Normal : Font.Medium
                }
                Text {
                    id: subtitleText
                    y: titleText.implicitHeight + 2
                    width: parent.width
                    text: row.subtitle
                    Accessible.name: text
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    maximumLineCount: 1
                    font.pointSize: Theme.captionSize
                    color: Theme.sunsetMuted
                }
            }

            Item {
                id: trailing
                width: Math.max(24, shortcutText.implicitWidth)
                height: 24
                anchors.verticalCenter: parent.verticalCenter

                IconImage {
                    anchors.centerIn: parent
                    iconName: "checkmark.circle.fill"
                    color: Theme.sunsetGreen
                    size: 16
                    readonly property bool shown: row.trailingMark === PopoverRowStyle.Copied
                    visible: scale > 0.01
                    scale: shown ? 1 : 0.00001
                    opacity: shown ? 1 : 0
                    Behavior on scale { enabled: !Motion.reduceMotion; NumberAnimation { duration: Animations.press.duration; easing: Animations.press.easing } }
                    Behavior on opacity { enabled: !Motion.reduceMotion; NumberAnimation { duration: Animations.press.duration } }
                }
                PinButton {
                    anchors.centerIn: parent
                    visible: row.trailingMark === PopoverRowStyle.PinButton
                    isPinned: row.isPinned
                    onClicked: row.pinRequested()
                }
                Text {
                    id: shortcutText
                    anchors.right: parent.right
                    anchors.verticalCenter: parent.verticalCenter
                    visible: row.trailingMark === PopoverRowStyle.Shortcut
                    text: row.shortcutLabel
                    Accessible.name: text
                    textFormat: Text.PlainText
                    font.family: Theme.monospaceFamily
                    font.pointSize: Theme.captionSize
                    color: Theme.sunsetFaint
                }
            }
        }
    }

    HoverHandler { id: hover }
    TapHandler {
        acceptedButtons: Qt.LeftButton
        onTapped: row.copyRequested()
    }
    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: row.menuRequested()
    }
    DragHandler {
        id: drag
        target: null
        onActiveChanged: if (active) row.dragRequested()
    }
}
