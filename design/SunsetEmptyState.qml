import QtQuick
import Corvane.Design

// A centred symbol at 48 points above a short message.
Item {
    id: root

    property string systemImage
    property string message

    implicitWidth: 260
    implicitHeight: column.implicitHeight

    Column {
        id: column
        anchors.centerIn: parent
        width: Math.min(root.width, 320)
        spacing: 12

        IconImage {
            anchors.horizontalCenter: parent.horizontalCenter
            iconName: root.systemImage
            color: Theme.sunsetMuted
            size: 48
            opacity: 0.8
        }

        Text {
            width: parent.width
            text: root.message
            Accessible.name: text
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            font.pointSize: Theme.bodySize
            color: Theme.sunsetMuted
        }
    }
}
