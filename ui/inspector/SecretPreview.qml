import QtQuick
import QtQuick.Layouts
import Corvane.Design
import Corvane.Ui

// A secret: masked until revealed; the reveal button and a note on masking.
GlassSurface {
    id: root

    required property ClipPreviewModel model

    cornerRadius: 14
    implicitHeight: column.implicitHeight + 28

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 14
        spacing: 12

        TextEdit {
            id: secret
            Layout.fillWidth: true
            text: root.model.secretText
            textFormat: TextEdit.PlainText
            readOnly: true
            selectByMouse: true
            wrapMode: TextEdit.WrapAnywhere
            font.family: Theme.monospaceFamily
            font.pointSize: Theme.bodySize
            color: Theme.sunsetInk
            // Named by what it is, never by the secret itself.
            Accessible.role: Accessible.StaticText
            Accessible.name: root.model.revealed ? "Revealed secret" : "Masked secret"
            // Replaced with a fade whenever the secret is shown or hidden.
            opacity: 1
            SequentialAnimation {
                id: fade
                NumberAnimation { target: secret; property: "opacity"; to: 0; duration: 90 }
                NumberAnimation { target: secret; property: "opacity"; to: 1; duration: 160 }
            }
        }

        SunsetSecondaryButtonStyle {
            objectName: "revealButton"
            text: root.model.revealed ? "Hide Secret" : "Reveal Secret"
            systemImage: root.model.revealed ? "eye.slash" : "eye"
            Accessible.name: text
            onClicked: {
                if (!Motion.reduceMotion)
                    fade.restart()
                root.model.toggleReveal()
            }
        }

        Row {
            spacing: 6
            IconImage {
                anchors.verticalCenter: parent.verticalCenter
                iconName: "lock.shield"
                color: Theme.sunsetMuted
                size: 11
            }
            Text {
                text: "Secrets are masked until you reveal them."
                textFormat: Text.PlainText
                font.pointSize: Theme.footnoteSize
                color: Theme.sunsetMuted
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
    }
}
