import QtQuick
import Corvane.Design

// "Cor" in ink and "vane" in indigo, set as one text.
Row {
    id: root

    property real pixelSize: 18

    Accessible.role: Accessible.StaticText
    Accessible.name: "Corvane"

    Text {
        text: "Cor"
        color: Theme.sunsetInk
        font.pixelSize: root.pixelSize
        font.bold: true

        Accessible.role: Accessible.StaticText

        Accessible.name: text
    }
    Text {
        text: "vane"
        color: Theme.sunsetIndigo
        font.pixelSize: root.pixelSize
        font.bold: true
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
}
