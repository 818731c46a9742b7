import QtQuick
import QtTest
import Corvane.Design

Item {
    id: root
    width: 300
    height: 300

    Component {
        id: appearing
        StaggeredAppear {
            width: 100
            height: 20
            Rectangle { anchors.fill: parent; color: "red" }
        }
    }

    Component {
        id: pressable
        PressableStyle {
            width: 80
            height: 30
            contentItem: Rectangle { color: "blue" }
        }
    }

    Rectangle {
        id: moving
        width: 10
        height: 10
        MotionAnimation on x { id: motionX; preset: Animations.press }
    }

    Component {
        id: poppingDot
        PoppingGroupDot { group: "code" }
    }

    Component {
        id: breathingDot
        BreathingDot {}
    }

    Component {
        id: selectionBar
        SelectionBar { height: 40 }
    }

    TestCase {
        name: "Motion"
        when: windowShown

        function cleanup() { Motion.reduceMotion = false }

        function test_staggeredAppearSkipsTheEntranceFarDownTheList_data() {
            return [
                { tag: "index 13", index: 13, reduce: false, atOnce: true },
                { tag: "index 40", index: 40, reduce: false, atOnce: true },
                { tag: "index 12", index: 12, reduce: false, atOnce: false },
                { tag: "index 0", index: 0, reduce: false, atOnce: false },
                { tag: "reduce motion", index: 2, reduce: true, atOnce: true },
            ]
        }

        function test_staggeredAppearSkipsTheEntranceFarDownTheList(data) {
            Motion.reduceMotion = data.reduce
            const item = createTemporaryObject(appearing, root, { index: data.index })
            const box = findChild(item, "staggerBox")
            compare(item.appeared, data.atOnce)
            compare(box.opacity, data.atOnce ? 1 : 0)
            compare(box.y, data.atOnce ? 0 : 12)
        }

        function test_dotsKeepStillUnderReduceMotion() {
            Motion.reduceMotion = true
            const dot = createTemporaryObject(poppingDot, root, { index: 4 })
            compare(dot.scale, 1)
            compare(dot.opacity, 1)
            compare(dot.size, 8)
            const breathing = createTemporaryObject(breathingDot, root)
            verify(!breathing.children[0].visible, "no halo")

            Motion.reduceMotion = false
            const popping = createTemporaryObject(poppingDot, root, { index: 4 })
            compare(popping.opacity, 0)
            tryCompare(popping, "opacity", 1)
        }

        function test_pressScalesOnlyWhenMotionIsAllowed() {
            Motion.reduceMotion = true
            const button = createTemporaryObject(pressable, root)
            mousePress(button)
            compare(button.scale, 1)
            mouseRelease(button)

            Motion.reduceMotion = false
            mousePress(button)
            tryCompare(button, "scale", 0.95)
            mouseRelease(button)
        }

        function test_motionAnimationRunsThePresetSpring() {
            const animation = motionX.animation
            compare(animation.duration, Animations.press.duration)
            compare(animation.easing.type, Easing.BezierSpline)
            moving.x = 0
            Motion.reduceMotion = true
            moving.x = 100
            compare(moving.x, 100)
            Motion.reduceMotion = false
            moving.x = 0
            verify(moving.x > 0, "animated towards 0, not there yet")
            tryCompare(moving, "x", 0)
        }

        function test_motionAnimationChangesAtOnceUnderReduceMotion() {
            Motion.reduceMotion = true
            const bar = createTemporaryObject(selectionBar, root)
            bar.isSelected = true
            compare(bar.children[0].height, 40)
        }
    }
}
