import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Corvane.Engine
import Corvane.Design
import Corvane.Ui

// Colour tags for the selection: the picker of the selected clip, or a hint without one. Tags are
// stored as they are clicked; "Done" (Return) only closes.
Popup {
    id: sheet
    objectName: "tagPickerSheet"

    property ClipboardStore store: ClipboardStore
    property MainLayoutPolicy layout
    readonly property string title: layout ? layout.tagSheetTitle(store ? store.selectionCount : 0) : ""

    anchors.centerIn: Overlay.overlay
    padding: 22
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape

    InspectorViewModel {
        id: selected
        store: sheet.store
    }

    Overlay.modal: Rectangle { color: Qt.rgba(0.12, 0.1, 0.18, 0.28) }
    background: Rectangle {
        radius: 14
        color: Theme.sunsetCream
        border.color: Theme.sunsetHairline
    }

    contentItem: FocusScope {
        focus: true
        Accessible.role: Accessible.Dialog
        Accessible.name: sheet.title
        implicitWidth: Math.max(column.implicitWidth, 280)
        implicitHeight: column.implicitHeight
        Keys.onPressed: event => {
            if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
                event.accepted = true
                sheet.close()
            }
        }
        ColumnLayout {
            id: column
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 14
            Text {
                objectName: "tagSheetTitle"
                Layout.alignment: Qt.AlignHCenter
                text: sheet.title
                textFormat: Text.PlainText
                font.pointSize: Theme.headlineSize
                font.weight: Font.DemiBold
                color: Theme.sunsetInk
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            TagPicker {
                objectName: "tagSheetPicker"
                Layout.alignment: Qt.AlignHCenter
                visible: selected.hasClip
                store: sheet.store
                clipId: selected.clipId
                tags: selected.tags
            }
            Text {
                Layout.alignment: Qt.AlignHCenter
                visible: !selected.hasClip
                text: "Select a clip first."
                textFormat: Text.PlainText
                color: Theme.sunsetMuted
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            SunsetPrimaryButtonStyle {
                objectName: "tagSheetDone"
                Layout.alignment: Qt.AlignHCenter
                Layout.fillWidth: false
                Layout.preferredWidth: 120
                text: "Done"
                Accessible.name: text
                onClicked: sheet.close()
            }
        }
    }
}
