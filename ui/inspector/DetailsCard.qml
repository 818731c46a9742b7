import QtQuick
import QtQuick.Layouts
import Corvane.Engine
import Corvane.Design
import Corvane.Main

// Source, Copied and Size of a clip, one row each, hairlines between.
GlassSurface {
    id: root

    property ClipboardStore store: ClipboardStore
    property string sourceKey
    property string sourceLine
    property string copiedDate
    property string sizeText

    cornerRadius: 14
    implicitHeight: column.implicitHeight

    component DetailRow: Item {
        id: row
        property string label
        property alias value: valueText.text
        default property alias leading: lead.data
        Layout.fillWidth: true
        implicitHeight: 36
        Accessible.role: Accessible.StaticText
        Accessible.name: label + ": " + value
        Text {
            anchors.left: parent.left
            anchors.leftMargin: 14
            anchors.verticalCenter: parent.verticalCenter
            text: row.label
            textFormat: Text.PlainText
            font.pointSize: Theme.subheadSize
            color: Theme.sunsetMuted
        }
        Row {
            anchors.right: parent.right
            anchors.rightMargin: 14
            anchors.verticalCenter: parent.verticalCenter
            width: Math.min(implicitWidth, row.width * 0.7)
            spacing: 6
            Row { id: lead; anchors.verticalCenter: parent.verticalCenter }
            Text {
                id: valueText
                anchors.verticalCenter: parent.verticalCenter
                width: Math.min(implicitWidth, row.width * 0.7 - lead.width - 6)
                textFormat: Text.PlainText
                elide: Text.ElideRight
                maximumLineCount: 1
                font.pointSize: Theme.subheadSize
                color: Theme.sunsetInk
            }
        }
    }
    component Hairline: Rectangle {
        Layout.fillWidth: true
        Layout.leftMargin: 14
        implicitHeight: 1
        color: Theme.sunsetHairline
    }

    ColumnLayout {
        id: column
        width: root.width
        spacing: 0
        DetailRow {
            objectName: "sourceRow"
            label: "Source"
            value: root.sourceLine
            SourceIconView { store: root.store; key: root.sourceKey; size: 14 }
        }
        Hairline {}
        DetailRow { objectName: "copiedRow"; label: "Copied"; value: root.copiedDate }
        Hairline {}
        DetailRow { objectName: "sizeRow"; label: "Size"; value: root.sizeText }
    }
}
