import QtQuick
import QtQuick.Window
import Corvane.Design

// One symbol of the icon table, tinted with `color` and rendered at its display size.
Image {
    id: icon

    property string name
    property color color: Theme.sunsetInk
    property real size: 16

    width: size
    height: size
    sourceSize: Qt.size(Math.ceil(size * Screen.devicePixelRatio), Math.ceil(size * Screen.devicePixelRatio))
    source: name.length > 0 ? Icons.url(name, color) : ""
    fillMode: Image.PreserveAspectFit
    smooth: true
}
