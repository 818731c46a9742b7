import QtQuick
import Corvane.Design
import Corvane.Ui

// "Good morning, Maria" and the computer's name on a white card. Both are read again every five
// minutes, counted from when the card was made.
Rectangle {
    id: card

    property date now: new Date()
    readonly property string greetingText: UserGreeting.greetingLine(card.now)
    readonly property string computerText: { card.now; return UserGreeting.computerName() }

    implicitHeight: column.implicitHeight + 20
    radius: 12
    color: Qt.rgba(1, 1, 1, 0.6)
    border.width: 1
    border.color: Qt.rgba(1, 1, 1, 0.9)

    Accessible.role: Accessible.StaticText
    Accessible.name: greetingText + ", " + computerText

    Timer {
        interval: 300000
        repeat: true
        running: true
        onTriggered: card.now = new Date()
    }

    Column {
        id: column
        x: 12
        y: 10
        width: card.width - 24
        spacing: 3

        Text {
            objectName: "greetingLine"
            width: parent.width
            text: card.greetingText
            textFormat: Text.PlainText
            color: Theme.sunsetInk
            font.pointSize: Theme.title3Size
            font.weight: Font.DemiBold
            fontSizeMode: Text.HorizontalFit
            minimumPointSize: Math.ceil(Theme.bodySize) // whole points: 10 pt, about 13 px
            elide: Text.ElideRight
            maximumLineCount: 1

            Accessible.role: Accessible.StaticText

            Accessible.name: text
        }
        Row {
            width: parent.width
            spacing: 5
            IconImage {
                anchors.verticalCenter: parent.verticalCenter
                iconName: "laptopcomputer"
                color: Theme.sunsetMuted
                size: 12
            }
            Text {
                objectName: "computerName"
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - 17
                text: card.computerText
                textFormat: Text.PlainText
                color: Theme.sunsetMuted
                font.pointSize: Theme.subheadSize
                elide: Text.ElideMiddle
                maximumLineCount: 1
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
    }
}
