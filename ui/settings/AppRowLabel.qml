import QtQuick
import Corvane.Engine
import Corvane.Design

// An app's 18-point icon (or the "app.dashed" placeholder) and its name, as plain text.
Row {
    id: root

    required property string bundleID
    required property string name
    property ClipboardStore store: null
    /** False for an app the desktop has no icon for: the placeholder is drawn without asking. */
    property bool hasIcon: true

    spacing: 8

    AppIconView {
        anchors.verticalCenter: parent.verticalCenter
        size: 18
        source: root.hasIcon && root.bundleID.length > 0
            ? "image://source/" + encodeURIComponent(root.bundleID) + "?rev=" + (root.store ? root.store.iconRevision : 0)
            : ""
    }

    Text {
        anchors.verticalCenter: parent.verticalCenter
        text: root.name
        textFormat: Text.PlainText
        elide: Text.ElideRight
        width: Math.min(implicitWidth, 320)
        font.pointSize: Theme.bodySize
        color: Theme.sunsetInk
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
}
