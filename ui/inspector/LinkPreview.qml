import QtQuick
import QtQuick.Layouts
import Corvane.Design
import Corvane.Ui

// A link: globe, host and path, the text, and "Open in Browser" for web addresses.
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

        RowLayout {
            spacing: 10
            Layout.fillWidth: true
            IconImage {
                iconName: "globe"
                size: 22
                color: Theme.colorFromHex("7AA8E8")
            }
            ColumnLayout {
                spacing: 2
                Layout.fillWidth: true
                Text {
                    Layout.fillWidth: true
                    text: root.model.host
                    textFormat: Text.PlainText
                    font.pointSize: Theme.title3Size
                    font.weight: Font.DemiBold
                    color: Theme.sunsetInk
                    elide: Text.ElideRight
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                Text {
                    Layout.fillWidth: true
                    text: root.model.path
                    textFormat: Text.PlainText
                    font.pointSize: Theme.footnoteSize
                    font.family: Theme.monospaceFamily
                    color: Theme.sunsetMuted
                    wrapMode: Text.WrapAnywhere
                    maximumLineCount: 2
                    elide: Text.ElideRight
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
        }

        TextEdit {
            id: body
            Layout.fillWidth: true
            // At most six lines.
            Layout.maximumHeight: 6 * fontMetrics.lineSpacing
            clip: true
            text: root.model.text
            textFormat: TextEdit.PlainText
            readOnly: true
            selectByMouse: true
            wrapMode: TextEdit.WrapAnywhere
            font.family: Theme.monospaceFamily
            font.pointSize: Theme.subheadSize
            color: Theme.sunsetInk
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            FontMetrics { id: fontMetrics; font: body.font }
        }

        SunsetSecondaryButtonStyle {
            visible: root.model.canOpenInBrowser
            text: "Open in Browser"
            systemImage: "safari"
            Accessible.name: text
            onClicked: root.model.openInBrowser()
        }
    }
}
