import QtQuick
import Corvane.Design

// A section's title, upper-cased, and its clip count on a cream capsule. The list pins it at
// the top while its section scrolls. Its height is fixed, so pinning never moves the rows.
Item {
    id: header

    property string title
    property int count: 0

    implicitHeight: 34
    height: 34
    // Above the rows that scroll under it while it is pinned.
    z: 10

    Accessible.role: Accessible.Heading
    Accessible.name: title + ", " + count

    Rectangle {
        x: 0
        y: 6
        width: parent.width
        height: 28
        radius: height / 2
        color: Qt.rgba(Theme.sunsetCream.r, Theme.sunsetCream.g, Theme.sunsetCream.b, 0.85)

        Text {
            x: 12
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - 24 - countText.width
            text: header.title.toUpperCase()
            textFormat: Text.PlainText
            elide: Text.ElideRight
            font.pointSize: Theme.footnoteSize
            font.bold: true
            font.letterSpacing: 0.6
            color: Theme.sunsetMuted
        }
        Text {
            id: countText
            anchors.right: parent.right
            anchors.rightMargin: 12
            anchors.verticalCenter: parent.verticalCenter
            text: header.count
            textFormat: Text.PlainText
            font.family: Theme.monospaceFamily
            font.pointSize: Theme.footnoteSize
            color: Theme.sunsetMuted
        }
    }
}
