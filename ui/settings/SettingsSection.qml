import QtQuick
import QtQuick.Layouts
import Corvane.Design

// One group of a settings form: an optional header (with an optional accessory at its end), a
// card holding the rows, and an optional footer in the caption style.
ColumnLayout {
    id: section

    property string header
    property string footer
    property color footerColor: Theme.sunsetMuted
    property Component headerAccessory: null
    default property alias rows: rowsColumn.data

    Layout.fillWidth: true
    spacing: 6

    RowLayout {
        Layout.fillWidth: true
        Layout.leftMargin: 4
        visible: section.header.length > 0 || section.headerAccessory !== null
        Text {
            Layout.fillWidth: true
            text: section.header
            textFormat: Text.PlainText
            font.pointSize: Theme.bodySize
            font.weight: Font.DemiBold
            color: Theme.sunsetInk
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        Loader { sourceComponent: section.headerAccessory }
    }

    Rectangle {
        Layout.fillWidth: true
        implicitHeight: rowsColumn.implicitHeight + 16
        radius: 8
        color: Theme.sunsetPanelStrong
        border.color: Theme.sunsetHairline

        Column {
            id: rowsColumn
            x: 12
            y: 8
            width: parent.width - 24
            spacing: 8
        }
    }

    Text {
        Layout.fillWidth: true
        Layout.leftMargin: 4
        visible: section.footer.length > 0
        text: section.footer
        textFormat: Text.PlainText
        wrapMode: Text.WordWrap
        font.pointSize: Theme.footnoteSize
        color: section.footerColor
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
}
