pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Controls
import Corvane.Engine
import Corvane.Ui
import Corvane.Design

// Seven colour chips that toggle a clip's tags. `tags` is bound to the clip's live row, so the
// chips follow the store's reload; the store decides the direction and the multiple selection.
Row {
    id: picker

    property ClipboardStore store: ClipboardStore
    property var clipId
    property var tags: []
    readonly property var chips: TagText.pickerChips(tags)

    spacing: 8
    Accessible.role: Accessible.Grouping
    Accessible.name: qsTr("Tags")

    Repeater {
        // Seven fixed chips that change state in place, so the ring and check animate.
        model: 7
        delegate: AbstractButton {
            id: chip
            required property int index
            readonly property var modelData: picker.chips[index]
            objectName: "tagChip-" + modelData.tag
            width: 30
            height: 30
            hoverEnabled: true
            focusPolicy: Qt.NoFocus
            Accessible.role: Accessible.CheckBox
            Accessible.checkable: true
            Accessible.checked: modelData.on
            Accessible.name: modelData.accessibleName
            ToolTip.text: modelData.help
            ToolTip.visible: hovered
            ToolTip.delay: 600
            onClicked: picker.store.toggleTag(modelData.tag, picker.clipId)

            contentItem: Item {
                Rectangle {
                    anchors.centerIn: parent
                    width: 18
                    height: 18
                    radius: 9
                    color: Theme.tagColor(chip.modelData.tag)
                    scale: chip.pressed && !Motion.reduceMotion ? 0.9 : 1
                    Behavior on scale { enabled: !Motion.reduceMotion; NumberAnimation { duration: Animations.press.duration } }
                    Rectangle {
                        anchors.centerIn: parent
                        width: 14
                        height: 14
                        radius: 7
                        color: "transparent"
                        border.color: "white"
                        border.width: chip.modelData.on ? 2 : 0
                        Behavior on border.width { enabled: !Motion.reduceMotion; NumberAnimation { duration: Animations.press.duration } }
                    }
                    IconImage {
                        anchors.centerIn: parent
                        iconName: "checkmark"
                        color: "white"
                        size: 9
                        opacity: chip.modelData.on ? 1 : 0
                        Behavior on opacity { enabled: !Motion.reduceMotion; NumberAnimation { duration: Animations.press.duration } }
                    }
                }
            }
        }
    }
}
