import QtQuick
import QtQuick.Controls
import Corvane.Engine
import Corvane.Design
import Corvane.Ui

// "Show all (N)": opens a popover beside the sidebar listing every source, with a filter field
// from 16 sources on. Picking a name shows its clips and closes it; keep and hide leave it open.
Item {
    id: root

    property int total: 0
    property SourcePickerModel picker
    property ClipboardStore store
    readonly property alias popover: popover

    implicitHeight: 30

    Rectangle {
        anchors.fill: parent
        radius: 8
        color: hover.hovered ? Theme.sunsetHoverShade : "transparent"
    }

    Row {
        x: 8
        anchors.verticalCenter: parent.verticalCenter
        spacing: 8
        IconImage {
            anchors.verticalCenter: parent.verticalCenter
            iconName: "ellipsis.circle"
            color: Theme.sunsetMuted
            size: 14
            width: 16
        }
        Text {
            objectName: "showAllLabel"
            anchors.verticalCenter: parent.verticalCenter
            text: qsTr("Show all (%1)").arg(root.total)
            color: Theme.sunsetMuted
            font.pointSize: Theme.bodySize
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }

    Accessible.role: Accessible.Button
    Accessible.name: qsTr("Show all (%1)").arg(root.total)
    Accessible.onPressAction: popover.open()

    HoverHandler { id: hover }
    TapHandler { onTapped: popover.open() }

    Popup {
        id: popover
        objectName: "allSourcesPopover"
        x: root.width + 12
        y: -14
        width: 300
        padding: 14
        margins: 8
        focus: true
        closePolicy: Popup.CloseOnPressOutside | Popup.CloseOnEscape

        onOpened: if (field.visible) field.forceActiveFocus()

        background: Rectangle {
            radius: 12
            color: Theme.sunsetCream
            border.width: 1
            border.color: Theme.sunsetHairline
            layer.enabled: true
        }

        contentItem: Column {
            spacing: 10
            Accessible.role: Accessible.Dialog
            Accessible.name: qsTr("All sources")

            SunsetSearchField {
                id: field
                objectName: "sourceFilterField"
                width: parent.width
                visible: root.picker && root.picker.filterFieldVisible
                placeholder: qsTr("Filter sources")
                text: root.picker ? root.picker.query : ""
                onTextChanged: if (root.picker && root.picker.query !== text) root.picker.query = text
                Accessible.role: Accessible.EditableText
                Accessible.name: qsTr("Filter sources")
            }

            ListView {
                id: sourceList
                objectName: "allSourcesList"
                width: parent.width
                height: Math.min(contentHeight, 360)
                clip: true
                spacing: 2
                boundsBehavior: Flickable.StopAtBounds
                model: root.picker
                Accessible.role: Accessible.List
                Accessible.name: qsTr("Sources")
                ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
                delegate: SourcePickerRowView {
                    width: ListView.view.width
                    store: root.store
                    onPicked: key => {
                        root.picker.select(key)
                        popover.close()
                    }
                    onKeepToggled: key => root.picker.toggleKept(key)
                    onHideToggled: key => root.picker.toggleHidden(key)
                }
            }
        }
    }
}
