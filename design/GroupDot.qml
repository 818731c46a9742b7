import QtQuick
import Corvane.Design

// A filled circle of diameter `size` in the colour of `group` (a group's raw value).
Rectangle {
    property string group
    property real size: 8

    implicitWidth: size
    implicitHeight: size
    width: size
    height: size
    radius: size / 2
    color: GroupStyle.color(group)
}
