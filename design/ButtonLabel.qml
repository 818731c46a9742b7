import QtQuick
import Corvane.Design

// A button's title, led by its symbol when it has one.
Row {
    id: label

    property string text
    property string systemImage
    property font font
    property color color

    spacing: 6

    IconImage {
        anchors.verticalCenter: parent.verticalCenter
        visible: label.systemImage.length > 0
        iconName: label.systemImage
        color: label.color
        // The title's size, whether its font was given in points or pixels.
        size: title.fontInfo.pixelSize
    }

    Text {
        id: title
        anchors.verticalCenter: parent.verticalCenter
        text: label.text
        textFormat: Text.PlainText
        font: label.font
        color: label.color
    }
}
