import QtQuick
import Corvane.Design

// A GroupDot of size 8 that pops in from small and transparent, `index` steps after the list.
GroupDot {
    id: dot

    property int index: 0

    size: 8
    scale: 0.2
    opacity: 0

    SequentialAnimation {
        id: pop
        PauseAnimation { duration: Animations.staggerDelay(dot.index, 0.05) }
        ParallelAnimation {
            NumberAnimation {
                target: dot; property: "scale"; to: 1
                duration: Animations.press.duration; easing: Animations.press.easing
            }
            NumberAnimation {
                target: dot; property: "opacity"; to: 1
                duration: Animations.press.duration; easing: Animations.press.easing
            }
        }
    }

    Component.onCompleted: {
        if (Motion.reduceMotion) {
            scale = 1
            opacity = 1
        } else {
            pop.start()
        }
    }
}
