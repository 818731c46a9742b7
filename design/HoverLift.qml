import QtQuick
import Qt5Compat.GraphicalEffects
import Corvane.Design

// Lifts its content while the pointer is over it: scale 1.01 and an accent shadow under a rounded
// shape of `radius`. Only the shadow shows under reduce motion.
Item {
    id: root

    default property alias content: box.data
    property real radius: 10
    readonly property bool hovered: hover.hovered

    implicitWidth: box.children.length > 0 ? box.children[0].implicitWidth : 0
    implicitHeight: box.children.length > 0 ? box.children[0].implicitHeight : 0

    HoverHandler { id: hover }

    // Made while it shows: a list of rows each making its own shadow is slow to appear.
    Loader {
        x: box.x
        y: box.y + 3
        width: box.width
        height: box.height
        scale: box.scale
        opacity: root.hovered ? 1 : 0
        visible: opacity > 0
        active: visible
        MotionAnimation on opacity { preset: Animations.hover }
        sourceComponent: RectangularGlow {
            glowRadius: 8
            cornerRadius: root.radius + glowRadius // qmllint disable unqualified
            color: Qt.rgba(Theme.sunsetAccent.r, Theme.sunsetAccent.g, Theme.sunsetAccent.b, 0.18)
            cached: true
        }
    }

    Item {
        id: box
        objectName: "hoverLiftBox"
        anchors.fill: parent
        scale: root.hovered && !Motion.reduceMotion ? 1.01 : 1
        MotionAnimation on scale { preset: Animations.hover }
    }
}
