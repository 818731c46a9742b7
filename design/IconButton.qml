import QtQuick
import QtQuick.Controls
import QtQuick.Templates as T
import Corvane.Design

// A 24-point button showing one symbol, with its help text as tooltip and accessible name.
T.AbstractButton {
    id: control

    property string iconName
    property color iconColor: Theme.sunsetMuted
    property real iconSize: 14
    property string help
    property bool hoverFill: false
    readonly property Item glyphItem: glyph

    implicitWidth: 24
    implicitHeight: 24
    hoverEnabled: true
    focusPolicy: Qt.NoFocus

    Accessible.role: Accessible.Button
    Accessible.name: help
    ToolTip.text: help
    ToolTip.visible: hovered && help.length > 0
    ToolTip.delay: 700

    background: Rectangle {
        radius: 6
        color: control.hoverFill && control.hovered ? Theme.sunsetHoverShade : "transparent"
    }

    contentItem: Item { // qmllint disable deferred-property-id
        IconImage {
            id: glyph
            anchors.centerIn: parent
            iconName: control.iconName
            color: control.iconColor
            size: control.iconSize
        }
    }
}
