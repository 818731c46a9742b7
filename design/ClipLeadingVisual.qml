// Contract: `group` is the clip's group raw value, `colorHex` its swatch (the models' `colorHex`
// role: "#RRGGBB" for a colour clip that parses, empty otherwise) and `thumbnail` an image clip's
// picture URL such as "image://thumb/<clip id>"; empty values fall through to the group's dot.
import QtQuick
import Qt5Compat.GraphicalEffects
import Corvane.Design

// A colour clip's colour or an image clip's thumbnail in a rounded square, otherwise a GroupDot.
Item {
    id: root

    property string group
    property string colorHex
    property url thumbnail
    property real size: 28

    readonly property real corner: Math.round(size * 0.25)
    readonly property bool showsColor: colorHex.length > 0
    readonly property bool showsThumbnail: thumbnail.toString().length > 0 // qmllint disable type
                                           && picture.status === Image.Ready

    implicitWidth: size
    implicitHeight: size

    Rectangle {
        anchors.fill: parent
        visible: root.showsColor
        radius: root.corner
        color: Theme.colorFromHex(root.colorHex)
        border.width: 1
        border.color: Theme.sunsetHairline
    }

    Image {
        id: picture
        anchors.fill: parent
        visible: false
        source: root.thumbnail
        sourceSize: Qt.size(root.size, root.size) // qmllint disable type
        fillMode: Image.PreserveAspectCrop
        asynchronous: true
    }

    Rectangle {
        id: shape
        anchors.fill: parent
        radius: root.corner
        visible: false
    }

    Loader {
        anchors.fill: parent
        active: root.showsThumbnail
        sourceComponent: OpacityMask {
            source: picture // qmllint disable unqualified
            maskSource: shape // qmllint disable unqualified
        }
    }

    GroupDot {
        anchors.centerIn: parent
        visible: !root.showsColor && !root.showsThumbnail
        group: root.group
        size: root.size
    }
}
