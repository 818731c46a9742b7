import QtQuick
import QtQuick.Layouts
import Corvane.Design

// A full-width capsule, 32 points high, ink (or danger) text on the panel fill with a stroke.
PressableStyle {
    id: control

    property string systemImage
    property bool isDestructive: false

    pressScale: 0.96
    pressBrightness: 0
    implicitHeight: 32
    leftPadding: 14
    rightPadding: 14
    Layout.fillWidth: true
    font.pointSize: Theme.bodySize
    font.weight: Font.Medium

    background: Rectangle {
        radius: height / 2
        color: Theme.sunsetPanel
        border.width: 1
        border.color: Theme.sunsetStroke
    }

    contentItem: Item {
        implicitWidth: label.implicitWidth
        implicitHeight: label.implicitHeight
        ButtonLabel {
            id: label
            anchors.centerIn: parent
            text: control.text
            systemImage: control.systemImage
            font: control.font
            color: control.isDestructive ? Theme.sunsetDanger : Theme.sunsetInk
        }
    }
}
