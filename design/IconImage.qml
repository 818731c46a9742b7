import QtQuick
import Corvane.Design

// One symbol of the icon table, tinted with `color` and rendered at its display size.
Image {
    id: icon

    property string iconName
    property color color: Theme.sunsetInk
    property real size: 16

    width: size
    height: size
    // In logical pixels: Qt asks the provider for the screen's device pixels itself.
    sourceSize: Qt.size(Math.ceil(size), Math.ceil(size)) // qmllint disable type
    source: iconName.length > 0 ? Icons.url(iconName, color) : ""
    fillMode: Image.PreserveAspectFit
    smooth: true
}
