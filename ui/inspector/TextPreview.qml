import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Corvane.Design
import Corvane.Ui

// Text and code: a selectable scrolling text that hugs short content, with "Compose Email" for
// an e-mail address and "Show in Files" for a file path.
GlassSurface {
    id: root

    required property ClipPreviewModel model
    property bool large: false
    readonly property real maxHeight: large ? 2000 : 280

    cornerRadius: 14
    implicitHeight: column.implicitHeight + 28

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 14
        spacing: 10

        ScrollView {
            id: scroller
            Layout.fillWidth: true
            Layout.preferredHeight: Math.min(root.maxHeight, body.implicitHeight)
            contentWidth: availableWidth
            ScrollBar.vertical.policy: body.implicitHeight > height ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded

            TextEdit {
                id: body
                width: scroller.availableWidth
                text: root.model.text
                textFormat: TextEdit.PlainText
                readOnly: true
                selectByMouse: true
                wrapMode: TextEdit.Wrap
                font.family: root.model.monospaced ? Theme.monospaceFamily : Qt.application.font.family
                font.pointSize: root.model.fontPointSize
                color: Theme.sunsetInk
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                TextLineSpacing {
                    document: body.textDocument
                    spacing: root.model.lineSpacing
                }
            }
        }

        SunsetSecondaryButtonStyle {
            visible: root.model.canComposeEmail
            text: "Compose Email"
            systemImage: "envelope"
            Accessible.name: text
            onClicked: root.model.composeEmail()
        }

        SunsetSecondaryButtonStyle {
            visible: root.model.canShowInFiles
            text: "Show in Files"
            systemImage: "folder"
            Accessible.name: text
            onClicked: root.model.showInFiles()
        }
    }
}
