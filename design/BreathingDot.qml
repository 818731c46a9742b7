import QtQuick
import Corvane.Design

// A 14-point green "live" dot whose halo pulses outwards every 2 s; still under reduce motion.
Item {
    id: root

    implicitWidth: 14
    implicitHeight: 14

    Rectangle {
        id: halo
        anchors.centerIn: parent
        width: 14
        height: 14
        radius: 7
        color: Theme.sunsetGreen
        opacity: 0
        visible: !Motion.reduceMotion
    }

    ParallelAnimation {
        running: !Motion.reduceMotion && root.visible
        loops: Animation.Infinite
        NumberAnimation {
            target: halo; property: "scale"; from: 1; to: 2.1; duration: 2000
            easing.type: Easing.BezierSpline; easing.bezierCurve: [0, 0, 0.58, 1, 1, 1]
        }
        NumberAnimation {
            target: halo; property: "opacity"; from: 0.45; to: 0; duration: 2000
            easing.type: Easing.BezierSpline; easing.bezierCurve: [0, 0, 0.58, 1, 1, 1]
        }
    }

    Rectangle {
        anchors.centerIn: parent
        width: 14
        height: 14
        radius: 7
        color: Theme.sunsetGreen
    }
}
