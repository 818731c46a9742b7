import QtQuick
import Corvane.Engine
import Corvane.Ui
import Corvane.Design

// The rows of one Privacy-tab list of apps: each an AppRowLabel and a trailing control. Rows that
// come and go slide unless the desktop asks for reduced motion.
ListView {
    id: list

    property Component trailing: null
    property ClipboardStore store: null
    property PrivacyTabModel privacy: null

    width: parent ? parent.width : implicitWidth
    implicitHeight: contentHeight
    height: contentHeight
    interactive: false
    spacing: 8
    Accessible.role: Accessible.List

    readonly property bool animate: !Motion.reduceMotion

    add: Transition {
        enabled: list.animate
        NumberAnimation { property: "opacity"; from: 0; to: 1; duration: 180 }
    }
    remove: Transition {
        enabled: list.animate
        NumberAnimation { property: "opacity"; to: 0; duration: 150 }
    }
    displaced: Transition {
        enabled: list.animate
        NumberAnimation { property: "y"; duration: 180; easing.type: Easing.OutCubic }
    }

    delegate: Item {
        id: rowItem
        required property string bundleID
        required property string name
        width: list.width // qmllint disable unqualified
        implicitHeight: Math.max(label.implicitHeight, accessory.implicitHeight, 22)
        height: implicitHeight

        AppRowLabel {
            id: label
            anchors.verticalCenter: parent.verticalCenter
            bundleID: rowItem.bundleID
            name: rowItem.name
            store: list.store // qmllint disable unqualified
            hasIcon: list.privacy ? list.privacy.hasIcon(rowItem.bundleID) : true // qmllint disable unqualified
        }
        Loader {
            id: accessory
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            sourceComponent: list.trailing // qmllint disable unqualified
            property string bundleID: rowItem.bundleID
            property string name: rowItem.name
        }
    }
}
