import QtQuick
import QtQuick.Layouts
import Corvane.Design

// The clip's summary, with its smart title above it when there is one.
GlassSurface {
    id: root

    property string title
    property string summary

    cornerRadius: 12
    implicitHeight: column.implicitHeight + 24
    Accessible.role: Accessible.StaticText
    Accessible.name: (title.length > 0 ? title + ". " : "") + summary

    ColumnLayout {
        id: column
        x: 12
        y: 12
        width: root.width - 24
        spacing: 8
        RowLayout {
            spacing: 6
            AccentIcon { iconName: "sparkles"; size: 12 }
            Text {
                text: "AI SUMMARY"
                textFormat: Text.PlainText
                font.pointSize: Theme.tinySize
                font.bold: true
                font.letterSpacing: 0.6
                color: Theme.sunsetMuted
            }
            Item { Layout.fillWidth: true }
            Text {
                text: "Summary"
                textFormat: Text.PlainText
                font.pointSize: Theme.tinySize
                color: Theme.sunsetFaint
            }
        }
        Text {
            Layout.fillWidth: true
            visible: root.title.length > 0
            text: root.title
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font.pointSize: Theme.title3Size
            font.bold: true
            color: Theme.sunsetInk
        }
        Text {
            Layout.fillWidth: true
            text: root.summary
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font.pointSize: Theme.subheadSize
            color: Theme.sunsetInk
        }
    }
}
