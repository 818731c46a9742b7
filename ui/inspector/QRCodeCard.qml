import QtQuick
import QtQuick.Dialogs
import QtQuick.Layouts
import Corvane.Engine
import Corvane.Design
import Corvane.Ui

// A text as a QR code for a phone to read, with "Copy QR" and "Save…". Without a readable
// code (too long a text) only the caption row shows.
GlassSurface {
    id: root

    property ClipboardStore store: ClipboardStore
    property alias text: qr.text
    readonly property QrCodeModel model: qr

    cornerRadius: 14
    implicitWidth: 320
    implicitHeight: column.implicitHeight + 28

    QrCodeModel { id: qr; store: root.store }

    ColumnLayout {
        id: column
        anchors.fill: parent
        anchors.margins: 14
        spacing: 10

        RowLayout {
            Layout.fillWidth: true
            Text {
                text: "QR CODE"
                textFormat: Text.PlainText
                font.pointSize: Theme.footnoteSize
                font.bold: true
                font.letterSpacing: 0.6
                color: Theme.sunsetMuted
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            Item { Layout.fillWidth: true }
            Text {
                text: "Scan with your phone camera"
                textFormat: Text.PlainText
                font.pointSize: Theme.footnoteSize
                color: Theme.sunsetFaint
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }

        Rectangle {
            visible: qr.hasImage
            Layout.alignment: Qt.AlignHCenter
            implicitWidth: 180
            implicitHeight: 180
            radius: 12
            color: "white"
            Image {
                anchors.centerIn: parent
                width: 160
                height: 160
                source: qr.imageSource
                // Sharp modules: no interpolation.
                smooth: false
                mipmap: false
                Accessible.role: Accessible.Graphic
                Accessible.name: "QR code for " + qr.text
            }
        }

        RowLayout {
            visible: qr.hasImage
            Layout.fillWidth: true
            spacing: 8
            SunsetSecondaryButtonStyle {
                id: copyButton
                text: "Copy QR"
                systemImage: "doc.on.doc"
                Accessible.name: text
                onClicked: qr.copy()
                // A little bounce on every copy.
                SequentialAnimation on scale {
                    id: bounce
                    running: false
                    NumberAnimation { to: 1.06; duration: 90 }
                    NumberAnimation { to: 1; duration: 140; easing.type: Easing.OutBack }
                }
                Connections {
                    target: qr
                    function onCopiedChanged() { if (!Motion.reduceMotion) bounce.restart() }
                }
            }
            SunsetSecondaryButtonStyle {
                text: "Save…"
                systemImage: "square.and.arrow.down"
                Accessible.name: text
                onClicked: saveDialog.open()
            }
        }
    }

    FileDialog {
        id: saveDialog
        fileMode: FileDialog.SaveFile
        currentFile: qr.suggestedFile
        defaultSuffix: "png"
        nameFilters: ["PNG image (*.png)"]
        onAccepted: qr.save(selectedFile)
    }
}
