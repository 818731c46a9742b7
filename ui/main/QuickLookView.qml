import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Corvane.Engine
import Corvane.Design
import Corvane.Ui
import Corvane.Inspector

// One clip shown large over the main window. Return copies it and closes; Escape and Space close.
// It follows the clip by id; the store clears the id when the clip goes, which closes the sheet.
Popup {
    id: sheet
    objectName: "quickLookView"

    property ClipboardStore store: ClipboardStore
    property var clipId
    // The window's rules (held Space); the main view hands in its own.
    property MainLayoutPolicy layout
    readonly property InspectorViewModel model: header

    anchors.centerIn: Overlay.overlay
    width: Math.min(760, Math.max(320, (parent ? parent.width : 760) - 40))
    height: Math.min(560, Math.max(240, (parent ? parent.height : 560) - 40))
    padding: 0
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    onAboutToShow: contentItem.spaceReleasedAt = -1
    onOpened: startBody.restart()
    onClosed: body.active = false
    // After the sheet's first frame, so it shows before a long text is laid out.
    Timer {
        id: startBody
        interval: 30
        onTriggered: body.active = true
    }

    InspectorViewModel {
        id: header
        store: sheet.store
        shownClipId: sheet.clipId === undefined ? null : sheet.clipId
    }

    function copyAndClose() {
        sheet.store.copy(sheet.clipId)
        sheet.close()
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
        Accessible.name: "Quick Look"
        // A held Space (the press that opened the sheet, still down) neither closes nor reopens it.
        property double spaceReleasedAt: -1
        Keys.onReleased: event => {
            if (event.key === Qt.Key_Space && !event.isAutoRepeat)
                spaceReleasedAt = Date.now()
        }
        Keys.onPressed: event => {
            if (event.key === Qt.Key_Space) {
                event.accepted = true
                const since = spaceReleasedAt < 0 ? -1 : Date.now() - spaceReleasedAt
                if (!sheet.layout || sheet.layout.spaceClosesQuickLook(event.isAutoRepeat, since))
                    sheet.close()
            } else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
                event.accepted = true
                if (!event.isAutoRepeat)
                    sheet.copyAndClose()
            }
        }

        ColumnLayout {
            anchors.fill: parent
            spacing: 0

            RowLayout {
                Layout.fillWidth: true
                Layout.margins: 16
                spacing: 8
                GroupDot { group: header.group; size: 10 }
                Text {
                    text: GroupStyle.displayName(header.group)
                    textFormat: Text.PlainText
                    font.pointSize: Theme.title3Size
                    font.bold: true
                    color: Theme.sunsetInk
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                Text {
                    Layout.fillWidth: true
                    text: header.subtitle
                    textFormat: Text.PlainText
                    font.pointSize: Theme.subheadSize
                    color: Theme.sunsetMuted
                    elide: Text.ElideRight
                    maximumLineCount: 1
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                SunsetPrimaryButtonStyle {
                    objectName: "quickLookCopy"
                    Layout.fillWidth: false
                    text: "Copy"
                    Accessible.name: text
                    onClicked: sheet.copyAndClose()
                }
                SunsetSecondaryButtonStyle {
                    objectName: "quickLookClose"
                    Layout.fillWidth: false
                    text: "Close"
                    Accessible.name: text
                    onClicked: sheet.close()
                }
            }
            Rectangle { Layout.fillWidth: true; implicitHeight: 1; color: Theme.sunsetHairline }
            // A long text takes a while to lay out: the sheet shows at once, the preview follows.
            Loader {
                id: body
                Layout.fillWidth: true
                Layout.fillHeight: true
                asynchronous: true
                active: false
                sourceComponent: ScrollView {
                    id: scroll
                    contentWidth: availableWidth
                    ScrollBar.vertical.policy: ScrollBar.AlwaysOn
                    ClipPreview {
                        x: 20
                        y: 20
                        width: scroll.availableWidth - 40
                        store: sheet.store
                        clipId: sheet.clipId === undefined || sheet.clipId === null ? 0 : sheet.clipId
                        large: true
                    }
                }
                BusyIndicator {
                    anchors.centerIn: parent
                    running: body.status === Loader.Loading
                    visible: running
                    Accessible.name: "Loading"
                }
            }
        }
    }
}
