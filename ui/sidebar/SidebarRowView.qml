import QtQuick
import Corvane.Engine
import Corvane.Design
import Corvane.Main

// One sidebar entry: icon, title and count badge, highlighted while its filter is the list's;
// a source row has its context menu. The "Show all" entry is the sources popover's button.
Item {
    id: row

    required property string filterKey
    required property string title
    required property string symbol
    required property string group
    required property int tag
    required property string sourceKey
    required property string badge
    required property int dotIndex
    required property bool isShowAll
    required property bool isCurrent
    required property int count
    property var sidebar

    implicitHeight: 30
    height: 30

    Loader {
        anchors.fill: parent
        active: row.isShowAll
        sourceComponent: AllSourcesButton {
            objectName: "allSourcesButton"
            total: row.count
            picker: row.sidebar ? row.sidebar.sourcePicker : null
            store: row.sidebar ? row.sidebar.store : null
        }
    }

    Rectangle {
        id: entry
        objectName: "sidebarRow:" + row.filterKey
        anchors.fill: parent
        visible: !row.isShowAll
        radius: 8
        color: row.isCurrent ? Qt.rgba(Theme.sunsetAccent.r, Theme.sunsetAccent.g, Theme.sunsetAccent.b, 0.14)
             : hover.hovered ? Theme.sunsetHoverShade : "transparent"
        Behavior on color {
            enabled: !Motion.reduceMotion
            ColorAnimation { duration: Animations.selection.duration; easing: Animations.selection.easing }
        }

        Accessible.role: Accessible.ListItem
        Accessible.name: row.badge.length > 0 ? row.title + ", " + row.badge : row.title
        Accessible.selected: row.isCurrent
        Accessible.onPressAction: row.sidebar.sidebarModel.select(row.filterKey)

        Item {
            id: icon
            x: 8
            width: 16
            height: 16
            anchors.verticalCenter: parent.verticalCenter

            IconImage {
                anchors.centerIn: parent
                visible: row.symbol.length > 0
                iconName: row.symbol
                color: Theme.sunsetAccent
                size: 14
            }
            Loader {
                anchors.centerIn: parent
                active: row.group.length > 0
                sourceComponent: PoppingGroupDot { group: row.group; index: row.dotIndex }
            }
            Rectangle {
                anchors.centerIn: parent
                visible: row.tag >= 0
                width: 10
                height: 10
                radius: 5
                color: row.tag >= 0 ? Theme.tagColor(row.tag) : "transparent"
            }
            Loader {
                anchors.fill: parent
                active: row.sourceKey.length > 0
                sourceComponent: SourceIconView {
                    key: row.sourceKey
                    size: 16
                    store: row.sidebar ? row.sidebar.store : null
                }
            }
        }

        Text {
            anchors.left: icon.right
            anchors.leftMargin: 8
            anchors.right: badgeBox.visible ? badgeBox.left : parent.right
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            text: row.title
            textFormat: Text.PlainText
            elide: Text.ElideRight
            color: Theme.sunsetInk
            font.pointSize: Theme.bodySize
            font.weight: row.isCurrent ? Font.DemiBold : Font.Normal

            Accessible.role: Accessible.StaticText

            Accessible.name: text
        }

        Rectangle {
            id: badgeBox
            anchors.right: parent.right
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            visible: row.badge.length > 0
            height: 18
            width: Math.max(22, badgeText.implicitWidth + 12)
            radius: 9
            color: Theme.sunsetHoverShade
            Text {
                id: badgeText
                anchors.centerIn: parent
                text: row.badge
                color: Theme.sunsetMuted
                font.pointSize: Theme.footnoteSize
                font.weight: Font.Medium
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }

        HoverHandler { id: hover }
        TapHandler {
            acceptedButtons: Qt.LeftButton
            onTapped: {
                row.sidebar.sidebarModel.select(row.filterKey)
                row.ListView.view.forceActiveFocus()
            }
        }
        TapHandler {
            acceptedButtons: Qt.RightButton
            enabled: row.sourceKey.length > 0
            onTapped: row.sidebar.openSourceMenu(row.sourceKey)
        }
    }
}
