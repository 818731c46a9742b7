import QtQuick
import QtQuick.Layouts
import Corvane.Design

// A labelled row of a settings card: the label on the left, its control on the right.
RowLayout {
    id: row

    property string label
    property bool enabledLabel: true
    default property alias control: trailing.data

    width: parent ? parent.width : implicitWidth
    spacing: 8

    Text {
        Layout.fillWidth: true
        visible: row.label.length > 0
        text: row.label
        textFormat: Text.PlainText
        elide: Text.ElideRight
        font.pointSize: Theme.bodySize
        color: row.enabledLabel ? Theme.sunsetInk : Theme.sunsetFaint
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    Row {
        id: trailing
        Layout.alignment: Qt.AlignVCenter | Qt.AlignRight
        spacing: 8
    }
}
