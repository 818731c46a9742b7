import QtQuick
import Corvane.Design

// Glass behind content: a translucent white fill with a 1-point stroke border over the window's
// backdrop, in a rounded rectangle of `cornerRadius`.
Item {
    id: root

    default property alias content: holder.data
    property real cornerRadius: 12

    BackdropSlice {
        anchors.fill: parent
        radius: root.cornerRadius
    }

    Rectangle {
        anchors.fill: parent
        radius: root.cornerRadius
        color: Motion.reduceTransparency ? Qt.tint(Theme.sunsetCream, Qt.rgba(1, 1, 1, 0.75))
                                         : Qt.rgba(1, 1, 1, 0.55)
        border.width: 1
        border.color: Theme.sunsetStroke
    }

    Item {
        id: holder
        anchors.fill: parent
    }
}
