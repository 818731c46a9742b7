import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Corvane.Engine
import Corvane.Design
import Corvane.Ui

// The clip's note: a one-line button at rest, a text field while editing. Typing saves 0.8 s
// after the last key; Return, Escape or leaving the field saves at once and closes it.
Item {
    id: root

    property ClipboardStore store: ClipboardStore
    property alias clipId: controller.clipId
    readonly property NoteEditorController controller: controller
    readonly property TextField field: editor

    implicitWidth: 300
    implicitHeight: 40

    ToolTip.text: "Your note is searchable and becomes this clip's title"
    ToolTip.visible: hover.hovered && !controller.editing
    ToolTip.delay: 700
    HoverHandler { id: hover }

    NoteEditorController {
        id: controller
        store: root.store
        onEditingChanged: if (editing) Qt.callLater(editor.forceActiveFocus)
    }

    Rectangle {
        anchors.fill: parent
        radius: 10
        color: Qt.rgba(1, 1, 1, 0.75)
    }

    AbstractButton {
        id: atRest
        objectName: "note-box"
        anchors.fill: parent
        visible: !controller.editing
        focusPolicy: Qt.NoFocus
        Accessible.name: controller.draft.length > 0 ? controller.draft : "Add a note or name…"
        Accessible.description: "Your note is searchable and becomes this clip's title"
        onClicked: controller.startEditing()
        contentItem: RowLayout {
            spacing: 8
            IconImage {
                Layout.leftMargin: 12
                iconName: controller.draft.length > 0 ? "note.text" : "square.and.pencil"
                color: controller.draft.length > 0 ? Theme.sunsetAccent : Theme.sunsetFaint
                size: 14
            }
            Text {
                Layout.fillWidth: true
                Layout.rightMargin: 12
                text: controller.draft.length > 0 ? controller.draft : "Add a note or name…"
                textFormat: Text.PlainText
                font.pointSize: Theme.bodySize
                font.weight: controller.draft.length > 0 ? Font.DemiBold : Font.Normal
                color: controller.draft.length > 0 ? Theme.sunsetInk : Theme.sunsetFaint
                elide: Text.ElideRight
                maximumLineCount: 1
            }
        }
        background: Item {}
    }

    RowLayout {
        anchors.fill: parent
        visible: controller.editing
        spacing: 8
        IconImage {
            Layout.leftMargin: 12
            iconName: "note.text"
            color: Theme.sunsetAccent
            size: 14
        }
        TextField {
            id: editor
            objectName: "note-editor"
            Layout.fillWidth: true
            Layout.rightMargin: 12
            placeholderText: "Add a note or name…"
            placeholderTextColor: Theme.sunsetFaint
            text: controller.draft
            font.pointSize: Theme.bodySize
            font.weight: Font.DemiBold
            color: Theme.sunsetInk
            background: Item {}
            Accessible.name: "Note"
            onTextEdited: controller.draft = text
            // Handled here and accepted: a text field lets Return travel on to the window, where it
            // would run the window's default action as well.
            Keys.onReturnPressed: event => { controller.commit(); event.accepted = true }
            Keys.onEnterPressed: event => { controller.commit(); event.accepted = true }
            Keys.onEscapePressed: event => { controller.commit(); event.accepted = true }
            onActiveFocusChanged: if (!activeFocus && controller.editing) controller.commit()
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: 10
        color: "transparent"
        border.width: controller.editing ? 1.5 : 1
        border.color: controller.editing ? Theme.sunsetAccent : Theme.sunsetHairline
    }
}
