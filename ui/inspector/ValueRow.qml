import QtQuick
import QtQuick.Layouts
import Corvane.Design

// A labelled value with a copy button. The copy goes straight to the clipboard (not through the
// store), so the monitor records it as a new clip.
Item {
    id: row

    property string label
    property string value
    signal copyRequested(string value)

    implicitWidth: layout.implicitWidth + 24
    implicitHeight: Math.max(layout.implicitHeight, 24) + 12

    RowLayout {
        id: layout
        anchors.fill: parent
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        anchors.topMargin: 6
        anchors.bottomMargin: 6
        spacing: 8

        Text {
            Layout.preferredWidth: 34
            text: row.label
            textFormat: Text.PlainText
            font.pointSize: Theme.footnoteSize
            font.weight: Font.DemiBold
            color: Theme.sunsetMuted
            Accessible.role: Accessible.StaticText
            Accessible.name: row.label
        }

        TextEdit {
            id: valueText
            Layout.fillWidth: true
            text: row.value
            textFormat: TextEdit.PlainText
            readOnly: true
            selectByMouse: true
            wrapMode: TextEdit.NoWrap
            font.family: Theme.monospaceFamily
            // One line, shrinking to three quarters before it is clipped.
            font.pointSize: Theme.subheadSize * Math.max(0.75, Math.min(1, width / Math.max(1, metrics.advanceWidth)))
            color: Theme.sunsetInk
            clip: true
            Accessible.role: Accessible.StaticText
            Accessible.name: row.label + " " + row.value

            TextMetrics {
                id: metrics
                font.family: Theme.monospaceFamily
                font.pointSize: Theme.subheadSize
                text: row.value
            }
        }

        CopyButton {
            help: "Copy " + row.label
            onClicked: row.copyRequested(row.value)
        }
    }
}
