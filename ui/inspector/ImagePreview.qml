import QtQuick
import QtQuick.Controls
import Qt5Compat.GraphicalEffects
import Corvane.Engine
import Corvane.Design
import Corvane.Ui

// The full image (else the thumbnail), fitted, with rounded corners; it can be dragged out.
GlassSurface {
    id: root

    required property ClipPreviewModel model
    property ClipboardStore store
    property bool large: false
    readonly property real maxHeight: large ? 900 : 320
    readonly property Image shown: full.status === Image.Ready ? full : thumb

    cornerRadius: 16
    visible: shown.status === Image.Ready
    implicitHeight: visible ? Math.min(maxHeight, (width - 12) * shown.implicitHeight / Math.max(1, shown.implicitWidth)) + 12 : 0

    ToolTip.text: "Drag the image into another app"
    ToolTip.visible: hover.hovered
    ToolTip.delay: 700
    Accessible.role: Accessible.Graphic
    Accessible.name: "Image"

    Image {
        id: full
        visible: false
        anchors.fill: parent
        anchors.margins: 6
        source: root.model.imageSource
        asynchronous: true
        fillMode: Image.PreserveAspectFit
        sourceSize.width: 2 * width
        smooth: true
    }
    Image {
        id: thumb
        visible: false
        anchors.fill: parent
        anchors.margins: 6
        source: full.status === Image.Error || full.status === Image.Null ? root.model.thumbnailSource : ""
        fillMode: Image.PreserveAspectFit
        smooth: true
    }
    Rectangle {
        id: mask
        anchors.fill: full
        visible: false
        color: "transparent"
        Rectangle {
            x: (parent.width - root.shown.paintedWidth) / 2
            y: (parent.height - root.shown.paintedHeight) / 2
            width: root.shown.paintedWidth
            height: root.shown.paintedHeight
            radius: 12
        }
    }
    OpacityMask {
        anchors.fill: full
        source: root.shown
        maskSource: mask
    }

    DragExport { id: exporter; store: root.store }
    HoverHandler { id: hover }
    DragHandler {
        target: null
        onActiveChanged: if (active) exporter.start([root.model.clipId], root) // qmllint disable type
    }
}
