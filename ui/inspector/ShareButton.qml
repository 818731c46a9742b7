import QtQuick
import QtQuick.Controls
import QtQuick.Dialogs
import Corvane.Engine
import Corvane.Design
import Corvane.Ui

// "Share": a menu under the button with "Email…" and "Save to File…". The clip's items are
// read when the button is pressed; with none the button does nothing.
SunsetSecondaryButtonStyle { // qmllint disable alias
    id: root

    property ClipboardStore store: ClipboardStore
    property alias clipId: share.clipId
    property string title: "Share"
    property string help: "Share by email or save to a file"
    readonly property Menu menu: menu

    text: title
    systemImage: "square.and.arrow.up"
    Accessible.name: text
    Accessible.description: help
    ToolTip.text: help
    ToolTip.visible: hovered && help.length > 0
    ToolTip.delay: 700

    ShareController { id: share; store: root.store }

    onClicked: {
        if (share.prepare())
            menu.popup(root, 0, root.height)
    }

    Menu {
        id: menu
        MenuItem {
            text: "Email…"
            enabled: share.canEmail
            onTriggered: share.email()
        }
        MenuItem {
            text: "Save to File…"
            onTriggered: share.savesFolder ? folderDialog.open() : fileDialog.open()
        }
    }

    FileDialog {
        id: fileDialog
        fileMode: FileDialog.SaveFile
        currentFile: share.suggestedFile
        onAccepted: share.saveTo(selectedFile)
    }
    FolderDialog {
        id: folderDialog
        currentFolder: share.suggestedFile
        onAccepted: share.saveTo(selectedFolder)
    }
}
