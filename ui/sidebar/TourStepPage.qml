import QtQuick
import Corvane.Design

// One step of the tour: its symbol on a white disc, the title, the text and maybe a key legend.
Column {
    id: page

    property var step: ({})

    spacing: 14

    Item { width: 1; height: 10 }

    Rectangle {
        anchors.horizontalCenter: parent.horizontalCenter
        width: 92
        height: 92
        radius: 46
        color: Qt.rgba(1, 1, 1, 0.75)
        AccentIcon {
            anchors.centerIn: parent
            iconName: page.step.symbol || ""
            size: 40
        }
    }
    Text {
        objectName: "stepTitle"
        anchors.horizontalCenter: parent.horizontalCenter
        text: page.step.title || ""
        textFormat: Text.PlainText
        color: Theme.sunsetInk
        font.pointSize: Theme.title1Size
        font.bold: true
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }
    Text {
        anchors.horizontalCenter: parent.horizontalCenter
        width: Math.min(380, page.width)
        text: page.step.text || ""
        textFormat: Text.PlainText
        horizontalAlignment: Text.AlignHCenter
        color: Theme.sunsetMuted
        font.pointSize: Theme.headlineSize
        wrapMode: Text.Wrap
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
    Rectangle {
        objectName: "keyLegend"
        anchors.horizontalCenter: parent.horizontalCenter
        visible: (page.step.keys || "").length > 0
        width: legend.implicitWidth + 28
        height: legend.implicitHeight + 12
        radius: height / 2
        color: Qt.rgba(1, 1, 1, 0.8)
        Text {
            id: legend
            anchors.centerIn: parent
            text: page.step.keys || ""
            color: Theme.sunsetInk
            font.pointSize: Theme.title3Size
            font.weight: Font.DemiBold
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
    }
}
