import QtQuick
import Corvane.Design

// Brings its content in from transparent and 12 points low, `index` steps after the list
// appears; far-down items and everything under reduce motion appear at once.
Item {
    id: root

    default property alias content: box.data
    property int index: 0
    readonly property bool appeared: box.opacity === 1 && box.y === 0

    implicitWidth: box.children.length > 0 ? box.children[0].implicitWidth : 0
    implicitHeight: box.children.length > 0 ? box.children[0].implicitHeight : 0

    Item {
        id: box
        objectName: "staggerBox"
        width: root.width
        height: root.height
        opacity: 0
        y: 12
    }

    SequentialAnimation {
        id: entrance
        PauseAnimation { duration: Animations.staggerDelay(root.index, 0.03) }
        ParallelAnimation {
            NumberAnimation {
                target: box; property: "opacity"; to: 1
                duration: Animations.appear.duration; easing: Animations.appear.easing
            }
            NumberAnimation {
                target: box; property: "y"; to: 0
                duration: Animations.appear.duration; easing: Animations.appear.easing
            }
        }
    }

    Component.onCompleted: {
        if (Motion.reduceMotion || Animations.appearsAtOnce(index)) {
            box.opacity = 1
            box.y = 0
        } else {
            entrance.start()
        }
    }
}
