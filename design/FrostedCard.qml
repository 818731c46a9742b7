import QtQuick
import Qt5Compat.GraphicalEffects
import Corvane.Design

// Content on a frosted card: a thin frosted fill with a white overlay and border, radius 18, a
// soft ink shadow, 8 points of padding, over the window's backdrop.
Item {
    id: root

    default property alias content: holder.data
    property real padding: 8
    readonly property real radius: 18

    implicitWidth: (holder.children.length > 0 ? holder.children[0].implicitWidth : 0) + 2 * padding
    implicitHeight: (holder.children.length > 0 ? holder.children[0].implicitHeight : 0) + 2 * padding

    RectangularGlow {
        x: 0
        y: 6
        width: root.width
        height: root.height
        glowRadius: 14
        spread: 0
        cornerRadius: root.radius + glowRadius
        color: Qt.rgba(Theme.sunsetInk.r, Theme.sunsetInk.g, Theme.sunsetInk.b, 0.1)
        cached: true
    }

    BackdropSlice {
        anchors.fill: parent
        radius: root.radius
    }

    Rectangle {
        anchors.fill: parent
        radius: root.radius
        // The thin frosting and the white overlay at 0.42 on top of it.
        color: Motion.reduceTransparency ? Qt.tint(Theme.sunsetCream, Qt.rgba(1, 1, 1, 0.75))
                                         : Qt.rgba(1, 1, 1, 1 - (1 - 0.25) * (1 - 0.42))
        border.width: 1
        border.color: Qt.rgba(1, 1, 1, 0.85)
    }

    Item {
        id: holder
        anchors.fill: parent
        anchors.margins: root.padding
    }
}
