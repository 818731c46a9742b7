import QtQuick
import Qt5Compat.GraphicalEffects
import Corvane.Design

// A symbol filled with the accent gradient, leading to trailing.
Item {
    id: root

    property string iconName
    property real size: 16

    implicitWidth: size
    implicitHeight: size

    IconImage {
        id: shape
        anchors.fill: parent
        iconName: root.iconName
        size: root.size
        visible: false
    }

    Rectangle {
        id: fill
        anchors.fill: parent
        gradient: SunsetAccentGradient {}
        visible: false
    }

    OpacityMask {
        anchors.fill: parent
        source: fill
        maskSource: shape
    }
}
