import QtQuick
import QtQuick.Controls
import Corvane.Engine
import Corvane.Ui
import Corvane.Main
import Corvane.Design

// The main window's clip list: a header with the filter's title, the day chip, the count line,
// the calendar and the search field; the group tabs; the warning banner; then the empty state,
// the day-sectioned rows or the photo grid. The list takes Return, Alt+Return, Space, Escape,
// Backspace/Delete and the arrows while it has the focus.
FocusScope {
    id: root
    objectName: "clipListView"

    property ClipboardStore store: ClipboardStore
    readonly property alias controller: listController
    readonly property alias list: list
    readonly property alias contextMenu: contextMenu
    // Refreshed every 30 s so the rows' ages move on.
    property date now: new Date()

    signal settingsRequested()

    implicitWidth: 720
    implicitHeight: 600

    ClipListController {
        id: listController
        store: root.store
    }
    DragExport {
        id: dragExport
        store: root.store
    }
    Timer {
        interval: 30000
        repeat: true
        running: root.visible
        onTriggered: root.now = new Date()
    }

    function focusList() { listArea.forceActiveFocus() }
    function revealSelected() {
        if (listController.showsPhotoGrid) {
            const gridRow = gridLoader.item ? gridLoader.item.rows.rowIndexForClip(root.store.selectedID) : -1
            if (gridRow >= 0)
                gridLoader.item.positionViewAtIndex(gridRow, ListView.Contain)
        } else if (listController.selectedRow >= 0) {
            list.positionViewAtIndex(listController.selectedRow, ListView.Contain)
        }
    }
    function startDrag(ids, source) { dragExport.start(ids, source) }

    WindowSunset { anchors.fill: parent }

    Column {
        id: top
        width: parent.width
        spacing: 0

        Item {
            id: header
            width: parent.width
            height: 84

            Column {
                x: 20
                y: 16
                width: parent.width - 40 - searchField.width - calendarButton.width - 24
                spacing: 2

                Row {
                    spacing: 8
                    Text {
                        objectName: "filterTitle"
                        text: listController.filterTitle
                        textFormat: Text.PlainText
                        font.pointSize: Theme.largeTitleSize
                        font.bold: true
                        color: Theme.sunsetInk
                        Accessible.role: Accessible.Heading
                        Accessible.name: text
                    }
                    IconButton {
                        objectName: "dayChip"
                        anchors.verticalCenter: parent.verticalCenter
                        visible: listController.showsDayChip
                        iconName: "xmark.circle.fill"
                        iconColor: Theme.sunsetFaint
                        help: qsTr("Show all days")
                        onClicked: listController.showAllDays()
                    }
                }
                Text {
                    objectName: "countLine"
                    text: listController.countLine
                    textFormat: Text.PlainText
                    font.pointSize: Theme.subheadSize
                    color: Theme.sunsetMuted
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }

            Row {
                anchors.right: parent.right
                anchors.rightMargin: 20
                y: 6
                spacing: 4
                IconButton {
                    objectName: "settingsButton"
                    iconName: "gearshape"
                    help: qsTr("Settings")
                    onClicked: root.settingsRequested()
                }
                IconButton {
                    objectName: "previewButton"
                    iconName: "sidebar.right"
                    help: qsTr("Show or hide the preview panel")
                    enabled: listController.previewEnabled
                    opacity: enabled ? 1 : 0.4
                    onClicked: listController.togglePreview()
                }
            }

            PressableStyle {
                id: calendarButton
                objectName: "calendarButton"
                anchors.right: searchField.left
                anchors.rightMargin: 12
                y: 40
                width: 34
                height: 34
                Accessible.name: qsTr("Jump to a day")
                ToolTip.text: qsTr("Jump to a day")
                ToolTip.visible: hovered
                ToolTip.delay: 700
                hoverEnabled: true
                focusPolicy: Qt.NoFocus
                onClicked: calendarPopup.opened ? calendarPopup.close() : calendarPopup.open()
                background: Rectangle {
                    radius: 17
                    color: Theme.sunsetPanel
                    border.width: 1
                    border.color: Theme.sunsetStroke
                }
                contentItem: Item {
                    IconImage {
                        anchors.centerIn: parent
                        iconName: "calendar"
                        color: Theme.sunsetInk
                        size: 14
                    }
                }

                Popup {
                    id: calendarPopup
                    objectName: "calendarPopup"
                    y: calendarButton.height + 6
                    x: calendarButton.width - width
                    padding: 0
                    modal: false
                    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutsideParent
                    onOpened: (calendarLoader.item as ClipCalendar).model.showCurrentMonth()
                    onClosed: root.focusList()
                    background: Rectangle {
                        radius: 12
                        color: Theme.sunsetCream
                        border.width: 1
                        border.color: Theme.sunsetStroke
                    }
                    // Built on first opening: the calendar reads every clip's day.
                    contentItem: Loader { // qmllint disable deferred-property-id
                        id: calendarLoader
                        active: calendarPopup.visible || item !== null
                        sourceComponent: ClipCalendar {
                            objectName: "clipCalendar"
                            // qmllint disable unqualified
                            store: calendarPopup.visible ? root.store : null
                            onPicked: calendarPopup.close()
                            // qmllint enable unqualified
                        }
                    }
                }
            }

            SunsetSearchField {
                id: searchField
                objectName: "searchField"
                anchors.right: parent.right
                anchors.rightMargin: 20
                y: 42
                width: Math.min(320, Math.max(180, root.width * 0.36))
                placeholder: qsTr("Search · type:link · app:firefox · today")
                focusNotification: AppEvents.focusSearchName
                text: root.store ? root.store.searchText : ""
                onTextChanged: if (root.store && root.store.searchText !== text) root.store.searchText = text
                Keys.onDownPressed: root.focusList()
            }
        }

        Flickable {
            id: tabs
            width: parent.width
            height: 36 + 12
            contentWidth: tabBar.width + 40
            flickableDirection: Flickable.HorizontalFlick
            boundsBehavior: Flickable.StopAtBounds
            clip: true
            SunsetTabBar {
                id: tabBar
                objectName: "groupTabs"
                x: 20
                y: 2
                groups: listController.groups
                selection: listController.tabSelection
                onPicked: (group) => {
                    listController.pickTab(group)
                    selection = Qt.binding(() => listController.tabSelection)
                }
            }
        }

        NoticeBanner {
            id: banner
            objectName: "noticeBanner"
            x: 20
            width: parent.width - 40
            visible: listController.bannerVisible
            height: visible ? implicitHeight : 0
            message: listController.bannerMessage
            noticeId: listController.bannerId
        }
        Item { width: 1; height: banner.visible ? 10 : 0 }
    }

    FocusScope {
        id: listArea
        objectName: "listArea"
        anchors.top: top.bottom
        anchors.bottom: parent.bottom
        width: parent.width
        focus: true
        Accessible.role: Accessible.List
        Accessible.name: qsTr("Clips")

        Keys.onPressed: (event) => {
            if (!listController.handleKey(event.key, event.modifiers, event.isAutoRepeat))
                return
            event.accepted = true
            if (event.key === Qt.Key_Up || event.key === Qt.Key_Down)
                root.revealSelected()
        }

        SunsetEmptyState {
            objectName: "emptyState"
            anchors.fill: parent
            visible: listController.isEmpty
            systemImage: listController.emptySymbol
            message: listController.emptyMessage
        }

        ListView {
            id: list
            objectName: "clipList"
            anchors.fill: parent
            visible: !listController.isEmpty && !listController.showsPhotoGrid
            clip: true
            focus: true
            reuseItems: true
            // Rows beyond the view wait for the window's first frame.
            cacheBuffer: firstFrame.open ? 600 : 0
            spacing: 6
            topMargin: 2
            bottomMargin: 24
            keyNavigationEnabled: false
            boundsBehavior: Flickable.StopAtBounds
            // The grid shows the same model; the list lets go of it meanwhile.
            model: listController.showsPhotoGrid || !root.store ? null : root.store.clipModel
            ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

            FirstFrameGate {
                id: firstFrame
                item: list
            }

            section.property: "sectionKey"
            section.labelPositioning: ViewSection.InlineLabels | ViewSection.CurrentLabelAtStart
            section.delegate: DayHeader {
                required property string section
                readonly property int sectionId: parseInt(section)
                x: 20
                // qmllint disable unqualified
                width: list.width - 40
                title: root.store ? (root.store.clipModel.sectionsRevision, root.store.clipModel.sectionTitle(sectionId)) : ""
                count: root.store ? (root.store.clipModel.sectionsRevision, root.store.clipModel.sectionSize(sectionId)) : 0
                // qmllint enable unqualified
            }

            delegate: ClipRowView {
                // qmllint disable unqualified
                store: root.store
                controller: listController
                now: root.now
                terms: listController.searchTerms
                onSelected: root.focusList()
                onMenuRequested: contextMenu.openFor(clipId)
                // qmllint enable unqualified
                onDragRequested: (ids, source) => root.startDrag(ids, source)
            }

            add: Transition {
                enabled: !Motion.reduceMotion
                NumberAnimation { property: "opacity"; from: 0; to: 1; duration: Animations.selection.duration }
            }
            remove: Transition {
                enabled: !Motion.reduceMotion
                ParallelAnimation {
                    NumberAnimation { property: "opacity"; to: 0; duration: Animations.selection.duration }
                    NumberAnimation { property: "scale"; to: 0.92; duration: Animations.selection.duration }
                }
            }
            displaced: Transition {
                enabled: !Motion.reduceMotion
                NumberAnimation { property: "y"; duration: Animations.selection.duration; easing.type: Easing.OutQuad }
            }

            // A click where no row is clears the selection.
            TapHandler {
                id: emptyTap
                onTapped: {
                    const at = emptyTap.point.position // in the list's own coordinates
                    if (!list.itemAt(at.x + list.contentX, at.y + list.contentY))
                        root.store.clearSelection()
                    root.focusList()
                }
            }
        }

        Loader {
            id: gridLoader
            anchors.fill: parent
            active: listController.showsPhotoGrid && !listController.isEmpty
            sourceComponent: PhotoGrid {
                // qmllint disable unqualified
                store: root.store
                controller: listController
                onTileSelected: root.focusList()
                // qmllint enable unqualified
                onMenuRequested: (clipId) => contextMenu.openFor(clipId)
                onDragRequested: (ids, source) => root.startDrag(ids, source)
            }
        }
    }

    ClipContextMenu {
        id: contextMenu
        store: root.store
        // The menu takes the keyboard while open; the list gets it back afterwards.
        onClosed: root.focusList()
    }
}
