import QtQuick
import Corvane.Design

// Pins or unpins: "pin", or "pin.fill" in accent while pinned; the symbol bounces on each change.
IconButton {
    id: control

    property bool isPinned: false

    iconName: isPinned ? "pin.fill" : "pin"
    iconColor: isPinned ? Theme.sunsetAccent : Theme.sunsetMuted
    help: (isPinned ? qsTr("Unpin (%1)") : qsTr("Pin (%1)")).arg(KeyLegends.pin)

    onIsPinnedChanged: {
        if (!Motion.reduceMotion)
            bounce.restart()
    }

    SequentialAnimation {
        id: bounce
        NumberAnimation {
            target: control.glyphItem; property: "scale"; to: 1.25
            duration: 90; easing.type: Easing.OutQuad
        }
        NumberAnimation {
            target: control.glyphItem; property: "scale"; to: 1
            duration: Animations.press.duration; easing: Animations.press.easing
        }
    }
}
