import QtQuick
import Corvane.Design

// A row's icon action with a hover fill; destructive actions are drawn in the danger colour.
IconButton {
    property string systemImage
    property bool isDestructive: false

    iconName: systemImage
    iconColor: isDestructive ? Theme.sunsetDanger : Theme.sunsetMuted
    hoverFill: true
}
