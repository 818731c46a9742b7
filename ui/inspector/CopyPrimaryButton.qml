import QtQuick
import Corvane.Design

// "Copy to Clipboard", turning to "Copied" with a check mark while `copied` holds.
SunsetPrimaryButtonStyle {
    id: root

    property bool copied: false

    text: copied ? "Copied" : "Copy to Clipboard"
    systemImage: copied ? "checkmark" : "doc.on.doc"
    Accessible.role: Accessible.Button
    Accessible.name: text
    Accessible.onPressAction: clicked()

    contentItem: Item { // qmllint disable deferred-property-id
        implicitWidth: label.implicitWidth
        implicitHeight: label.implicitHeight
        ButtonLabel {
            id: label
            anchors.centerIn: parent
            text: root.text
            systemImage: root.systemImage
            font: root.font
            color: Theme.sunsetOnAccent
            opacity: 1
            Behavior on opacity { enabled: !Motion.reduceMotion; NumberAnimation { duration: Animations.press.duration } }
        }
    }
    onCopiedChanged: if (!Motion.reduceMotion) { label.opacity = 0.4; label.opacity = 1 }
}
