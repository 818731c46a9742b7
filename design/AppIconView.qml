// Contract: `source` is an image URL of the app's icon such as "image://source/<source key>"; empty or unloadable shows the fallback.
import QtQuick
import Corvane.Design

// An application's icon, or the symbol "app.dashed" in the faint colour when there is none.
Item {
    id: root

    property url source
    property real size: 18

    implicitWidth: size
    implicitHeight: size

    Image {
        id: picture
        anchors.fill: parent
        source: root.source
        sourceSize: Qt.size(Math.ceil(root.size), Math.ceil(root.size)) // qmllint disable type
        fillMode: Image.PreserveAspectFit
        smooth: true
        asynchronous: true
        visible: status === Image.Ready
    }

    IconImage {
        anchors.centerIn: parent
        visible: !picture.visible
        iconName: "app.dashed"
        color: Theme.sunsetFaint
        size: root.size
    }
}
