import QtQuick
import QtQuick.Layouts
import Corvane.Engine
import Corvane.Design
import Corvane.Main

// A source in the "Show all" popover: icon, name (faint while hidden), count, keep and hide.
Item {
    id: row

    required property string sourceKey
    required property string name
    required property int count
    required property bool isKept
    required property bool isHidden
    required property string keepHelp
    required property string hideHelp
    property ClipboardStore store

    signal picked(string key)
    signal keepToggled(string key)
    signal hideToggled(string key)

    implicitHeight: layout.implicitHeight + 10

    RowLayout {
        id: layout
        anchors.fill: parent
        anchors.topMargin: 5
        anchors.bottomMargin: 5
        spacing: 8

        SourceIconView {
            key: row.sourceKey
            size: 16
            store: row.store
        }
        Text {
            id: nameText
            objectName: "sourceName:" + row.sourceKey
            Layout.fillWidth: true
            text: row.name
            textFormat: Text.PlainText
            elide: Text.ElideRight
            color: row.isHidden ? Theme.sunsetFaint : Theme.sunsetInk
            font.pointSize: Theme.bodySize
            Accessible.role: Accessible.Button
            Accessible.name: row.name
            Accessible.onPressAction: row.picked(row.sourceKey)
            TapHandler { onTapped: row.picked(row.sourceKey) }
        }
        Text {
            text: row.count
            color: Theme.sunsetMuted
            font.pointSize: Theme.footnoteSize
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        IconButton {
            objectName: "keepButton:" + row.sourceKey
            iconName: row.isKept ? "pin.fill" : "pin"
            iconColor: row.isKept ? Theme.sunsetAccent : Theme.sunsetMuted
            help: row.keepHelp
            hoverFill: true
            onClicked: row.keepToggled(row.sourceKey)
        }
        IconButton {
            objectName: "hideButton:" + row.sourceKey
            iconName: row.isHidden ? "eye.slash" : "eye"
            iconColor: Theme.sunsetMuted
            help: row.hideHelp
            hoverFill: true
            onClicked: row.hideToggled(row.sourceKey)
        }
    }
}
