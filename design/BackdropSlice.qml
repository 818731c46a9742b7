import QtQuick
import Qt5Compat.GraphicalEffects
import Corvane.Design

// The window backdrop behind a surface, cut to its rounded shape; surfaces turn opaque (and this
// disappears) under reduce transparency.
Item {
    id: root

    property real radius: 0

    visible: !Motion.reduceTransparency

    WindowSunset {
        id: slice
        anchors.fill: parent
        visible: false
    }

    Rectangle {
        id: shape
        anchors.fill: parent
        radius: root.radius
        visible: false
    }

    OpacityMask {
        anchors.fill: parent
        source: slice
        maskSource: shape
        cached: true
    }
}
