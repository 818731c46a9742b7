import QtQuick
import QtQuick.Layouts
import Corvane.Design

// The main action of a pane: full width, 34 points high, white semibold text on the accent
// gradient, optionally led by a symbol.
PressableStyle {
    id: control

    property string systemImage

    pressScale: 0.96
    pressBrightness: 0
    implicitHeight: 34
    leftPadding: 14
    rightPadding: 14
    Layout.fillWidth: true
    font.pointSize: Theme.bodySize
    font.weight: Font.DemiBold

    background: Rectangle {
        radius: 10
        gradient: SunsetAccentGradient {}
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
            color: Theme.sunsetOnAccent
        }
    }
}
