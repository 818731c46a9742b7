import QtQuick
import QtQuick.Window
import Corvane.Design

// This pane's slice of one window-wide SunsetBackground: the backdrop is laid out on
// `canvasSize` (the window's size by default) and shifted by the pane's position in the window.
Item {
    id: root

    property size canvasSize: Window.window ? Qt.size(Window.width, Window.height)
                                            : Qt.size(width, height)
    property point offset: Qt.point(0, 0)
    property var ancestors: []

    clip: true

    function place() {
        const p = root.mapToItem(null, 0, 0)
        if (p.x !== offset.x || p.y !== offset.y)
            offset = p
    }

    // A pane moves when any item above it moves.
    function follow() {
        for (const a of ancestors) {
            a.xChanged.disconnect(place)
            a.yChanged.disconnect(place)
        }
        const list = []
        for (let p = parent; p; p = p.parent) {
            p.xChanged.connect(place)
            p.yChanged.connect(place)
            list.push(p)
        }
        ancestors = list
        place()
    }

    onXChanged: place()
    onYChanged: place()
    onParentChanged: follow()
    Component.onCompleted: follow()
    Component.onDestruction: {
        for (const a of ancestors) {
            a.xChanged.disconnect(place)
            a.yChanged.disconnect(place)
        }
    }

    SunsetBackground {
        x: -root.offset.x
        y: -root.offset.y
        width: root.canvasSize.width
        height: root.canvasSize.height
    }
}
