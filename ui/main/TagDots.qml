pragma ComponentBehavior: Bound
import QtQuick
import Corvane.Ui
import Corvane.Design

// The tags of a clip as overlapping dots (2 points apart) with a white inner border. `tags` holds
// tag raw values (0-6) in the order to draw.
Row {
    id: root

    property var tags: []
    property real size: 8

    readonly property string accessibleLabel: TagText.accessibilityLabel(root.tags)

    spacing: -2
    Accessible.role: Accessible.StaticText
    Accessible.name: accessibleLabel

    Repeater {
        model: root.tags
        delegate: Rectangle {
            required property var modelData
            width: root.size
            height: root.size
            radius: root.size / 2
            color: Theme.tagColor(modelData)
            border.width: 1
            border.color: "white"
        }
    }
}
