import QtQuick
import QtQuick.Controls
import Corvane.Engine
import Corvane.Design
import Corvane.Ui

// The main window's first column: the brand header, the entries that narrow the clip list
// (Library, Groups, Tags, Sources) with their counts, and the monitoring footer, on a frosted card.
FloatingSidebarCard {
    id: root

    property ClipboardStore store: ClipboardStore
    readonly property SidebarModel sidebarModel: entries
    readonly property SourcePickerModel sourcePicker: picker

    implicitWidth: 250
    implicitHeight: 560

    SidebarModel {
        id: entries
        store: root.store
    }
    // Lives with the sidebar, so the popover's filter text survives closing it.
    SourcePickerModel {
        id: picker
        store: root.store
    }

    Item {
        anchors.fill: parent

        SidebarHeader {
            id: header
            anchors.top: parent.top
            anchors.left: parent.left
            anchors.right: parent.right
        }

        ListView {
            id: list
            objectName: "sidebarList"
            anchors.top: header.bottom
            anchors.bottom: parent.bottom
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.leftMargin: 8
            anchors.rightMargin: 8
            bottomMargin: footer.height
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            model: entries
            keyNavigationEnabled: false
            activeFocusOnTab: true

            Accessible.role: Accessible.List
            Accessible.name: qsTr("Sidebar")

            ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

            section.property: "section"
            section.delegate: Text {
                required property string section
                width: ListView.view.width
                topPadding: 12
                bottomPadding: 4
                leftPadding: 8
                text: section
                color: Theme.sunsetMuted
                font.pointSize: Theme.footnoteSize
                font.weight: Font.DemiBold
                Accessible.role: Accessible.Heading
                Accessible.name: section
            }

            delegate: SidebarRowView {
                width: ListView.view.width
                sidebar: root
            }

            add: Transition {
                enabled: !Motion.reduceMotion
                NumberAnimation {
                    property: "opacity"; from: 0; to: 1
                    duration: Animations.selection.duration; easing: Animations.selection.easing
                }
            }
            remove: Transition {
                enabled: !Motion.reduceMotion
                NumberAnimation {
                    property: "opacity"; to: 0
                    duration: Animations.selection.duration; easing: Animations.selection.easing
                }
            }
            displaced: Transition {
                enabled: !Motion.reduceMotion
                NumberAnimation {
                    property: "y"
                    duration: Animations.selection.duration; easing: Animations.selection.easing
                }
                NumberAnimation { property: "opacity"; to: 1 }
            }

            // Up and Down step through the entries as a sidebar list does.
            Keys.onUpPressed: root.step(-1)
            Keys.onDownPressed: root.step(1)
        }

        MonitoringFooter {
            id: footer
            objectName: "monitoringFooter"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            behind: list
            countsLine: entries.countsLine
        }
    }

    SourceMenu {
        id: sourceMenu
        objectName: "sourceMenu"
        sidebarModel: entries
    }

    function openSourceMenu(key) { sourceMenu.openFor(key) }

    function step(offset) {
        const next = entries.neighbourKey(entries.currentKey, offset)
        if (next.length > 0) {
            entries.select(next)
            const row = entries.rowOf(next)
            if (row >= 0)
                list.positionViewAtIndex(row, ListView.Contain)
        }
    }
}
