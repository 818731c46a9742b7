import QtQuick
import Corvane.Design
import Corvane.Ui

// The tour's first page: the greeting by first name, what Corvane does, and its privacy promises.
Column {
    id: page

    property string welcomeLine
    property string introText
    property var privacyRows: []

    spacing: 14

    Text {
        objectName: "welcomeLine"
        width: page.width
        text: page.welcomeLine
        textFormat: Text.PlainText
        color: Theme.sunsetInk
        font.pointSize: Theme.title2Size
        font.weight: Font.DemiBold
        wrapMode: Text.Wrap
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }
    Text {
        width: page.width
        text: page.introText
        textFormat: Text.PlainText
        color: Theme.sunsetMuted
        font.pointSize: Theme.bodySize
        wrapMode: Text.Wrap
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
    GlassSurface {
        width: page.width
        height: rows.implicitHeight + 28
        cornerRadius: 14

        Column {
            id: rows
            x: 14
            y: 14
            width: parent.width - 28
            spacing: 10

            Repeater {
                model: page.privacyRows
                Row {
                    required property var modelData
                    width: rows.width
                    spacing: 10
                    IconImage {
                        width: 20
                        iconName: modelData.symbol
                        color: Theme.sunsetAccent
                        size: 15
                        fillMode: Image.Pad
                    }
                    Text {
                        width: parent.width - 30
                        text: modelData.text
                        textFormat: Text.PlainText
                        color: Theme.sunsetInk
                        font.pointSize: Theme.bodySize
                        wrapMode: Text.Wrap
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                    }
                }
            }
        }
    }
}
