import QtQuick
import QtQuick.Layouts
import Corvane.Design
import Corvane.Ui

// The colour as a 130-point swatch (alpha included) over its HEX, RGB and HSL values.
GlassSurface {
    id: root

    required property ClipPreviewModel model

    cornerRadius: 14
    implicitHeight: column.implicitHeight

    ColumnLayout {
        id: column
        anchors.left: parent.left
        anchors.right: parent.right
        spacing: 0

        // Rounded at the top like the card, square where the values begin.
        Item {
            Layout.fillWidth: true
            implicitHeight: 130
            Accessible.role: Accessible.Graphic
            Accessible.name: "Colour " + root.model.hex
            Rectangle {
                anchors.fill: parent
                radius: 14
                color: root.model.color
            }
            Rectangle {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                height: 14
                color: root.model.color
            }
        }

        ValueRow {
            Layout.fillWidth: true
            label: "HEX"
            value: root.model.hex
            onCopyRequested: value => root.model.copyValue(value)
        }
        Rectangle { Layout.fillWidth: true; implicitHeight: 1; color: Theme.sunsetHairline }
        ValueRow {
            Layout.fillWidth: true
            label: "RGB"
            value: root.model.rgb
            onCopyRequested: value => root.model.copyValue(value)
        }
        Rectangle { Layout.fillWidth: true; implicitHeight: 1; color: Theme.sunsetHairline }
        ValueRow {
            Layout.fillWidth: true
            label: "HSL"
            value: root.model.hsl
            onCopyRequested: value => root.model.copyValue(value)
        }
    }
}
