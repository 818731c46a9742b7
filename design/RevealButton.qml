import QtQuick
import Corvane.Design

// Shows or hides a secret: "eye" to reveal, "eye.slash" to hide again.
IconButton {
    property bool isRevealed: false

    iconName: isRevealed ? "eye.slash" : "eye"
    help: isRevealed ? qsTr("Hide") : qsTr("Reveal")
}
