import QtQuick
import Corvane.Design

// The application's icon as the window and tray show it.
IconImage {
    iconName: "corvane.fill"
    color: "#3b6ef0"
    Accessible.ignored: true
}
