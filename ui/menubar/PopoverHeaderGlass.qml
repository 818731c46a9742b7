import QtQuick
import Corvane.Design

// The header's surface: translucent cream over the sunset, opaque cream under reduce transparency.
Item {
    id: root

    default property alias content: holder.data

    Rectangle {
        anchors.fill: parent
        color: Theme.sunsetCream
        opacity: Motion.reduceTransparency ? 1 : 0.92
    }
    Item {
        id: holder
        anchors.fill: parent
    }
}
