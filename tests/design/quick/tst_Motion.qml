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

        function test_motionAnimationChangesAtOnceUnderReduceMotion() {
            Motion.reduceMotion = true
            const bar = createTemporaryObject(selectionBar, root)
            bar.isSelected = true
            compare(bar.children[0].height, 40)
        }
    }
}
