import QtQuick
import Corvane.Design

// The whole popover's backdrop: cream, with the sunset at 0.55 unless reduce transparency is on.
// The window cannot blur what lies behind it, so the sunset stands in for the material.
Item {
    Rectangle {
        anchors.fill: parent
        color: Theme.sunsetCream
    }
    SunsetBackground {
        anchors.fill: parent
        opacity: 0.55
        visible: !Motion.reduceTransparency
    }
}
