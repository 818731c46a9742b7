import QtQuick
import Corvane.Design

// The cream backdrop with three large blurred circles in accent, pink and violet. The circles come
// blurred at a quarter of the size, one image per canvas size for every pane, scaled up smoothly.
Item {
    id: root

    readonly property real shrink: 4

    Rectangle {
        anchors.fill: parent
        color: Theme.sunsetCream
    }

    Image {
        readonly property int canvasWidth: Math.ceil(root.width)
        readonly property int canvasHeight: Math.ceil(root.height)
        width: Math.ceil(canvasWidth / root.shrink)
        height: Math.ceil(canvasHeight / root.shrink)
        source: canvasWidth > 0 && canvasHeight > 0 ? "image://sunset/" + canvasWidth + "x" + canvasHeight : ""
        transformOrigin: Item.TopLeft
        scale: root.shrink
        smooth: true
    }
}
