import QtQuick
import QtQuick.Window
import Corvane.Design

// A 14-point green "live" dot whose halo pulses outwards every 2 s; still under reduce motion and
// while its window is not the active one (every pulse frame redraws the whole window).
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
        running: !Motion.reduceMotion && root.visible && root.Window.active
        onRunningChanged: if (!running) { halo.opacity = 0; halo.scale = 1 }
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
