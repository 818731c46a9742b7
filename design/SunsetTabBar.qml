import QtQuick
import Corvane.Design

// Group tabs: "All" (selection "") and one per group in `groups` (raw values), the selected one on
// a sliding accent pill. Picking a tab writes `selection` and emits picked(group).
Item {
    id: root

    property string selection: ""
    property var groups: []
    signal picked(string group)

    readonly property var tabs: [""].concat(groups)
    readonly property int currentIndex: tabs.indexOf(selection)
    property Item currentTab: null

    function findCurrentTab() {
        currentTab = currentIndex >= 0 ? repeater.itemAt(currentIndex) : null
    }

    onCurrentIndexChanged: findCurrentTab()

    implicitWidth: row.implicitWidth + 8
    implicitHeight: 32

    GlassSurface {
        anchors.fill: parent
        cornerRadius: height / 2
    }

    Rectangle {
        id: pill
        y: row.y
        height: row.height
        x: root.currentTab ? row.x + root.currentTab.x : 0
        width: root.currentTab ? root.currentTab.width : 0
        visible: root.currentTab !== null
        radius: height / 2
        gradient: SunsetAccentGradient {}
        MotionAnimation on x { preset: Animations.selection }
        MotionAnimation on width { preset: Animations.selection }
    }

    Row {
        id: row
        anchors.centerIn: parent
        height: root.height - 8
        spacing: 2
        Accessible.role: Accessible.List
        Accessible.name: qsTr("Groups")

        Repeater {
            id: repeater
            model: root.tabs
            onItemAdded: root.findCurrentTab()
            onItemRemoved: root.findCurrentTab()

            delegate: PressableStyle {
                id: tab
                required property string modelData
                readonly property bool selected: tab.modelData === root.selection
                objectName: "tab_" + (tab.modelData.length > 0 ? tab.modelData : "all")
                text: tab.modelData.length > 0 ? GroupStyle.displayName(tab.modelData) : qsTr("All")
                height: row.height
                Accessible.selected: tab.selected
                leftPadding: 12
                rightPadding: 12
                font.pointSize: Theme.subheadSize
                font.weight: tab.selected ? Font.DemiBold : Font.Normal
                contentItem: Text {
                    text: tab.text
                    textFormat: Text.PlainText
                    font: tab.font
                    verticalAlignment: Text.AlignVCenter
                    color: tab.selected ? Theme.sunsetOnAccent : Theme.sunsetMuted
                }
                onClicked: {
                    root.selection = tab.modelData
                    root.picked(tab.modelData)
                }
            }
        }
    }
}
