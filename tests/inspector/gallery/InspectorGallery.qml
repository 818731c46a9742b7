import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Corvane.Engine
import Corvane.Design
import Corvane.Inspector

// The inspector's pieces side by side on the window's backdrop, for a person to look at.
FocusScope {
    id: gallery

    required property ClipboardStore store
    required property var ids
    property int returnPresses: 0

    implicitWidth: 1180
    implicitHeight: 900
    focus: true
    // Stands for the window's default action: the note field must take Return first.
    Keys.onReturnPressed: returnPresses++

    WindowSunset { anchors.fill: parent }

    component Caption: Text {
        textFormat: Text.PlainText
        Accessible.name: text.charAt(0) + text.slice(1).toLowerCase()
        font.pixelSize: 10
        font.bold: true
        font.letterSpacing: 0.6
        color: Theme.sunsetMuted
    }

    RowLayout {
        anchors.fill: parent
        anchors.margins: 20
        spacing: 20

        ColumnLayout {
            Layout.preferredWidth: 360
            Layout.alignment: Qt.AlignTop
            spacing: 10
            Caption { text: "TEXT" }
            ClipPreview { Layout.fillWidth: true; store: gallery.store; clipId: gallery.ids.text }
            Caption { text: "COLOUR" }
            ClipPreview { Layout.fillWidth: true; store: gallery.store; clipId: gallery.ids.color }
            Caption { text: "E-MAIL" }
            ClipPreview { Layout.fillWidth: true; store: gallery.store; clipId: gallery.ids.email }
            Caption { text: "CODE" }
            ClipPreview { Layout.fillWidth: true; store: gallery.store; clipId: gallery.ids.code }
        }

        ColumnLayout {
            Layout.preferredWidth: 360
            Layout.alignment: Qt.AlignTop
            spacing: 10
            Caption { text: "FILE" }
            ClipPreview { Layout.fillWidth: true; store: gallery.store; clipId: gallery.ids.file }
            Caption { text: "IMAGE" }
            ClipPreview { Layout.fillWidth: true; store: gallery.store; clipId: gallery.ids.image }
            Caption { text: "SECRET" }
            ClipPreview { objectName: "secretPreview"; Layout.fillWidth: true; store: gallery.store; clipId: gallery.ids.secret }
            Caption { text: "LINK" }
            ClipPreview { Layout.fillWidth: true; store: gallery.store; clipId: gallery.ids.link }
        }

        ColumnLayout {
            Layout.preferredWidth: 380
            Layout.alignment: Qt.AlignTop
            spacing: 10
            Caption { text: "SEARCH" }
            TextField {
                objectName: "search"
                Layout.fillWidth: true
                placeholderText: "Search"
                Accessible.name: placeholderText
                Connections {
                    target: AppEvents
                    function onReleaseSearchFocus() { gallery.forceActiveFocus() }
                }
            }
            Caption { text: "NOTE" }
            NoteField { objectName: "emptyNote"; Layout.fillWidth: true; store: gallery.store; clipId: gallery.ids.text }
            NoteField { Layout.fillWidth: true; store: gallery.store; clipId: gallery.ids.secret }
            Caption { text: "DETAILS" }
            DetailActionsCard { objectName: "details"; Layout.fillWidth: true; text: gallery.store.fullTextOf(gallery.ids.text) }
            QRCodeCard { Layout.fillWidth: true; store: gallery.store; text: "https://corvane.app/download" }
            ShareButton { objectName: "share"; Layout.fillWidth: true; store: gallery.store; clipId: gallery.ids.text }
        }
    }
}
