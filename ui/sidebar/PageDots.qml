pragma ComponentBehavior: Bound
import QtQuick
import Corvane.Design

// One capsule per tour step; the lit one is wide and on the accent gradient (none when -1).
Row {
    id: dots

    property int count: 6
    property int lit: 0

    spacing: 6
    Accessible.role: Accessible.Indicator
    Accessible.name: lit >= 0 ? qsTr("Page %1 of %2").arg(lit + 1).arg(count) : qsTr("Last page")

    Repeater {
        model: dots.count
        Rectangle {
            required property int index
            readonly property bool isLit: index === dots.lit
            anchors.verticalCenter: parent.verticalCenter
            height: 7
            width: isLit ? 18 : 7
            radius: 3.5
            color: Theme.sunsetHairline
            Behavior on width {
                enabled: !Motion.reduceMotion
                NumberAnimation { duration: Animations.selection.duration; easing: Animations.selection.easing }
            }
            Rectangle {
                anchors.fill: parent
                radius: parent.radius
                visible: parent.isLit
                gradient: SunsetAccentGradient {}
            }
            Accessible.ignored: true
        }
    }
}
