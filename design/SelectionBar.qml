import QtQuick
import Corvane.Design

// The 3-point accent capsule at a row's leading edge; it grows down from the top when selected.
Item {
    id: root

    property bool isSelected: false

    implicitWidth: 3

    Rectangle {
        anchors.top: parent.top
        width: 3
        height: root.isSelected ? root.height : 0
        radius: 1.5
        gradient: SunsetAccentGradient {}
        MotionAnimation on height { preset: Animations.selection }
    }
}
