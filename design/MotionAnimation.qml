import QtQuick
import Corvane.Design

// Animates every change of the property it is put on with `preset`; changes apply at once while
// reduce motion is on. Use as `MotionAnimation on x { preset: Animations.selection }`.
Behavior {
    id: behavior

    property var preset: Animations.selection

    enabled: !Motion.reduceMotion

    PropertyAnimation {
        id: animation
        duration: behavior.preset.duration
        easing: behavior.preset.easing
    }
}
