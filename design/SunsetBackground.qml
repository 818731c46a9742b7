import QtQuick
import Qt5Compat.GraphicalEffects
import Corvane.Design

// The cream backdrop with three large blurred circles in accent, pink and violet. The circles are
// drawn and blurred at a quarter of the size once (cached), then scaled up smoothly.
Item {
    id: root

    readonly property real shrink: 4
    readonly property real span: Math.max(width, height) / shrink

    Rectangle {
        anchors.fill: parent
        color: Theme.sunsetCream
    }

    Item {
        id: circles
        width: Math.ceil(root.width / root.shrink)
        height: Math.ceil(root.height / root.shrink)
        visible: false

        Repeater {
            model: [
                { cx: 0.12, cy: 0.05, d: 0.62, color: Theme.sunsetAccent, alpha: 0.42 },
                { cx: 0.92, cy: 0.30, d: 0.55, color: Theme.sunsetPink, alpha: 0.30 },
                { cx: 0.50, cy: 1.05, d: 0.62, color: Theme.sunsetIndigo, alpha: 0.20 }
            ]
            delegate: Rectangle {
                required property var modelData
                width: modelData.d * root.span
                height: width
                radius: width / 2
                x: modelData.cx * circles.width - width / 2
                y: modelData.cy * circles.height - height / 2
                color: Qt.rgba(modelData.color.r, modelData.color.g, modelData.color.b, modelData.alpha)
            }
        }
    }

    FastBlur {
        width: circles.width
        height: circles.height
        source: circles
        radius: 48
        cached: true
        transformOrigin: Item.TopLeft
        scale: root.shrink
        smooth: true
    }
}
