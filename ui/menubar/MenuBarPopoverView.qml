import QtQuick
import QtQuick.Controls
import Corvane.Engine
import Corvane.Ui
import Corvane.Main
import Corvane.Design

// The popover under the tray icon: search and group chips, the pinned strip, the 60 most recent
// clips driven by the arrows, Return and Ctrl+1-9, and a footer to open the main window, pause,
// open the settings or quit. The store defaults to the shared one. Without a `popoverHost` from
// the shell the popover closes its own window and asks for the other windows by signal.
FocusScope {
    id: root
    objectName: "menuBarPopover"

    property ClipboardStore store: ClipboardStore
    property PopoverHost popoverHost: null
    readonly property alias viewModel: vm
    readonly property alias contextMenu: contextMenu

    signal openMainWindowRequested()
    signal openSettingsRequested()

    width: 340
    implicitWidth: 340
    implicitHeight: header.height + middle.height + footer.height
    focus: true

    WindowPopoverHost {
        id: windowHost
        window: root.Window.window
        onMainWindowRequested: root.openMainWindowRequested()
        onSettingsWindowRequested: root.openSettingsRequested()
    }
    PopoverViewModel {
        id: vm
        store: root.store
        host: root.popoverHost ? root.popoverHost : windowHost
    }
    DragExport {
        id: dragExport
        store: root.store
    }

    Keys.onPressed: (event) => {
        if (event.key === Qt.Key_Escape && event.modifiers === Qt.NoModifier) {
            // A transient popup: Escape clears the search first, then closes.
            if (search.text.length > 0)
                search.text = ""
            else
                vm.closePopover()
            event.accepted = true
            return
        }
        event.accepted = vm.handleKey(event.key, event.modifiers, event.text, event.isAutoRepeat,
                                      event.nativeScanCode)
    }

    // The keys belong to the whole popover: the search field takes the focus back after the
    // context menu and at each opening, and each opening shows the list from its top.
    function takeKeys() { search.forceActiveFocus() }
    Connections {
        target: contextMenu
        function onClosed() { root.takeKeys() }
    }
    Connections {
        target: root.Window.window
        function onVisibleChanged() {
            if (!root.Window.window.visible)
                return
            root.takeKeys()
            list.showTop()
        }
    }
    Connections {
        target: vm
        function onQueryOrGroupChanged() { list.showTop() }
    }
    Connections {
        // A new or removed pin changes the strip above the list: show it.
        target: vm.pinnedModel
        function onCountChanged() { list.showTop() }
    }

    PopoverBackground { anchors.fill: parent }

    PopoverHeaderGlass {
        id: header
        width: parent.width
        height: headerColumn.implicitHeight + 24

        Column {
            id: headerColumn
            x: 12
            y: 12
            width: parent.width - 24
            spacing: 10

            SunsetSearchField {
                id: search
                objectName: "popoverSearch"
                width: parent.width
                placeholder: qsTr("Search clips")
                focus: true
                onTextChanged: vm.query = text
                // The field passes the arrows, Return and Ctrl+digits on; the root takes them.
            }

            Flickable {
                id: chipFlick
                width: parent.width
                height: 24
                contentWidth: chipRow.implicitWidth
                flickableDirection: Flickable.HorizontalFlick
                boundsBehavior: Flickable.StopAtBounds
                clip: true
                Accessible.role: Accessible.List
                Accessible.name: qsTr("Groups")

                // A mouse wheel turns vertically: it scrolls the chips sideways.
                WheelHandler {
                    orientation: Qt.Vertical
                    onWheel: (event) => {
                        const delta = event.angleDelta.y !== 0 ? event.angleDelta.y : event.angleDelta.x
                        const most = Math.max(0, chipFlick.contentWidth - chipFlick.width)
                        chipFlick.contentX = Math.max(0, Math.min(most, chipFlick.contentX - delta / 120 * 48))
                    }
                }

                Row {
                    id: chipRow
                    spacing: 6
                    Repeater {
                        model: vm.chips
                        delegate: PressableStyle {
                            id: chip
                            required property var modelData
                            readonly property bool selected: modelData.selected
                            objectName: "chip-" + (modelData.group.length > 0 ? modelData.group : "all")
                            height: 24
                            leftPadding: 10
                            rightPadding: 10
                            Accessible.name: chip.modelData.title
                            Accessible.selected: chip.selected
                            onClicked: vm.selectGroup(modelData.group)
                            background: Rectangle {
                                radius: height / 2
                                color: Theme.sunsetHoverShade
                                gradient: chip.selected ? accent : null
                                SunsetAccentGradient { id: accent }
                            }
                            contentItem: Row {
                                spacing: 5
                                GroupDot {
                                    anchors.verticalCenter: parent.verticalCenter
                                    visible: chip.modelData.group.length > 0
                                    group: chip.modelData.group
                                    size: 6
                                }
                                Text {
                                    anchors.verticalCenter: parent.verticalCenter
                                    text: chip.modelData.title
                                    textFormat: Text.PlainText
                                    font.pointSize: Theme.calloutSize
                                    font.weight: chip.selected ? Font.DemiBold : Font.Normal
                                    color: chip.selected ? Theme.sunsetOnAccent : Theme.sunsetMuted
                                }
                            }
                        }
                    }
                }
            }
        }
    }

    Item {
        id: middle
        y: header.height
        width: parent.width
        height: vm.isEmpty ? 170 : 330

        SunsetEmptyState {
            objectName: "popoverEmptyState"
            anchors.fill: parent
            visible: vm.isEmpty
            systemImage: vm.emptySymbol
            message: vm.emptyMessage
        }

        ListView {
            id: list
            objectName: "recentList"
            Accessible.role: Accessible.List
            Accessible.name: qsTr("Clips")
            anchors.fill: parent
            visible: !vm.isEmpty
            clip: true
            spacing: 6
            topMargin: 10
            bottomMargin: 10
            leftMargin: 12
            rightMargin: 12
            boundsBehavior: Flickable.StopAtBounds
            model: vm.recentModel
            ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

            header: Column {
                width: list.width - 24
                spacing: 8
                bottomPadding: vm.recentModel.count > 0 ? 8 : 0

                Text {
                    visible: vm.pinnedModel.count > 0
                    leftPadding: 4
                    text: qsTr("Pinned").toUpperCase()
                    Accessible.name: qsTr("Pinned")
                    textFormat: Text.PlainText
                    font.pointSize: Theme.captionSize
                    font.bold: true
                    font.letterSpacing: 0.6
                    color: Theme.sunsetMuted
                }
                ListView {
                    objectName: "pinnedStrip"
                    Accessible.role: Accessible.List
                    Accessible.name: qsTr("Pinned")
                    visible: vm.pinnedModel.count > 0
                    width: parent.width
                    height: visible ? 80 : 0
                    orientation: ListView.Horizontal
                    spacing: 8
                    leftMargin: 2
                    rightMargin: 2
                    clip: true
                    boundsBehavior: Flickable.StopAtBounds
                    model: vm.pinnedModel
                    delegate: PinnedCard {
                        terms: vm.searchTerms
                        onCopyRequested: vm.copyAndClose(clipId)
                        onMenuRequested: contextMenu.openFor(clipId)
                    }
                }
                Text {
                    visible: vm.recentModel.count > 0
                    leftPadding: 4
                    text: qsTr("Recent").toUpperCase()
                    Accessible.name: qsTr("Recent")
                    textFormat: Text.PlainText
                    font.pointSize: Theme.captionSize
                    font.bold: true
                    font.letterSpacing: 0.6
                    color: Theme.sunsetMuted
                }
            }

            delegate: StaggeredAppear {
                id: slot
                required property int index
                required property var clipId
                required property string group
                required property string title
                required property string subtitle
                required property string colorHex
                required property bool hasThumbnail
                required property string thumbnailUrl
                required property int leadingSize
                required property bool monospaced
                required property bool isPinned
                required property string shortcutLabel
                width: list.width - 24
                height: popoverRow.implicitHeight

                PopoverRow {
                    id: popoverRow
                    objectName: "popoverRow-" + slot.index
                    width: slot.width
                    height: implicitHeight
                    clipId: slot.clipId
                    group: slot.group
                    title: slot.title
                    subtitle: slot.subtitle
                    colorHex: slot.colorHex
                    hasThumbnail: slot.hasThumbnail
                    thumbnailUrl: slot.thumbnailUrl
                    leadingSize: slot.leadingSize
                    monospaced: slot.monospaced
                    isPinned: slot.isPinned
                    shortcutLabel: slot.shortcutLabel
                    highlighted: vm.highlighted === slot.clipId
                    copied: vm.copiedId === slot.clipId
                    terms: vm.searchTerms
                    onCopyRequested: vm.copyClicked(slot.clipId)
                    onPinRequested: vm.togglePin(slot.clipId)
                    onMenuRequested: contextMenu.openFor(slot.clipId)
                    onDragRequested: dragExport.start([slot.clipId], popoverRow)
                }
            }

            // Shows the header and the first rows, and keeps doing so while the header settles its
            // height (the pinned strip comes and goes), until the list is moved.
            property bool keepsTop: false
            function showTop() {
                scrollAnimation.stop()
                keepsTop = true
                contentY = originY - topMargin
            }
            onOriginYChanged: if (keepsTop) contentY = originY - topMargin
            onMovementStarted: keepsTop = false

            NumberAnimation { id: scrollAnimation; target: list; property: "contentY"; duration: Animations.selection.duration; easing: Animations.selection.easing }

            // Scrolls the least that shows a row whole. The jump creates the row and its
            // neighbours; their real heights are settled only after the list lays them out.
            property real scrollFrom: 0
            function reveal(row) {
                keepsTop = false
                scrollFrom = contentY
                positionViewAtIndex(row, ListView.Contain)
                Qt.callLater(finishReveal, row)
            }
            function finishReveal(row) {
                const item = itemAtIndex(row)
                if (!item)
                    return
                const top = item.y - topMargin
                const bottom = item.y + item.height + bottomMargin - height
                const to = Math.max(Math.min(scrollFrom, top), bottom)
                if (Motion.reduceMotion || to === scrollFrom) {
                    contentY = to
                    return
                }
                contentY = scrollFrom
                scrollAnimation.to = to
                scrollAnimation.restart()
            }

            Connections {
                target: vm
                function onHighlightedChanged() {
                    if (vm.highlightedRow >= 0)
                        list.reveal(vm.highlightedRow)
                }
            }
        }
    }

    Item {
        id: footer
        y: header.height + middle.height
        width: parent.width
        height: 48

        Rectangle { anchors.fill: parent; color: Theme.sunsetPanel }
        Rectangle { width: parent.width; height: 1; color: Theme.sunsetHairline }

        Row {
            anchors.fill: parent
            anchors.leftMargin: 12
            anchors.rightMargin: 12
            spacing: 4

            PressableStyle {
                id: openButton
                objectName: "openButton"
                anchors.verticalCenter: parent.verticalCenter
                height: 28
                leftPadding: 10
                rightPadding: 10
                Accessible.name: qsTr("Open Corvane")
                onClicked: vm.openMainWindow()
                background: Rectangle { radius: height / 2; color: Theme.sunsetPanel }
                contentItem: Row {
                    spacing: 6
                    IconImage { anchors.verticalCenter: parent.verticalCenter; iconName: "macwindow"; color: Theme.sunsetInk; size: 13 }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: qsTr("Open Corvane")
                        font.pointSize: Theme.subheadSize
                        font.weight: Font.Medium
                        color: Theme.sunsetInk
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: KeyLegends.showWindow
                        Accessible.name: text
                        font.pointSize: Theme.subheadSize
                        font.weight: Font.Medium
                        color: Theme.sunsetFaint
                    }
                }
            }

            Item { width: parent.width - openButton.width - 3 * 28 - 4 * parent.spacing; height: 1 }

            IconButton {
                objectName: "pauseButton"
                anchors.verticalCenter: parent.verticalCenter
                width: 28
                height: 28
                iconName: vm.isPaused ? "play.fill" : "pause.fill"
                iconColor: vm.isPaused ? Theme.sunsetAccent : Theme.sunsetMuted
                help: vm.pauseHelp
                onClicked: vm.togglePause()
            }
            IconButton {
                anchors.verticalCenter: parent.verticalCenter
                width: 28
                height: 28
                iconName: "gearshape"
                help: qsTr("Settings (%1)").arg(KeyLegends.settings)
                onClicked: vm.openSettings()
            }
            IconButton {
                anchors.verticalCenter: parent.verticalCenter
                width: 28
                height: 28
                iconName: "power"
                help: qsTr("Quit Corvane")
                onClicked: vm.quit()
            }
        }

        Rectangle {
            objectName: "pausedBanner"
            visible: vm.isPaused
            anchors.horizontalCenter: parent.horizontalCenter
            y: -height / 2
            width: bannerText.implicitWidth + 16
            height: bannerText.implicitHeight + 4
            radius: height / 2
            gradient: SunsetAccentGradient { }
            Text {
                id: bannerText
                anchors.centerIn: parent
                text: qsTr("Recording paused")
                Accessible.name: text
                font.pointSize: Theme.captionSize
                font.weight: Font.DemiBold
                color: Theme.sunsetOnAccent
            }
        }
    }

    ClipContextMenu {
        id: contextMenu
        store: root.store
    }
}
