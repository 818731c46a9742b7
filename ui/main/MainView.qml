import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Corvane.Engine
import Corvane.Design
import Corvane.Ui
import Corvane.Inspector
import Corvane.Sidebar

// The main window: the sidebar, the clip list and the inspector, docked beside the list when the
// window is wide and floating over it when narrow; and the window's sheets, one at a time.
FocusScope {
    id: root
    objectName: "mainView"

    property ClipboardStore store: ClipboardStore
    readonly property MainLayoutPolicy layout: policy
    readonly property alias clipList: clipList
    readonly property alias sidebar: sidebar
    readonly property alias quickLook: quickLook
    readonly property alias tagSheet: tagSheet
    readonly property alias welcome: welcome
    readonly property Item inspector: policy.inspectorPlacement === "docked" ? dockedInspector
                                    : policy.inspectorPlacement === "floating" ? floatingInspector : null

    implicitWidth: 1200
    implicitHeight: 760
    focus: true

    MainLayoutPolicy {
        id: policy
        store: root.store
        settings: root.store ? root.store.settings : null
        onActiveSheetChanged: root.presentSheets()
    }

    onWidthChanged: if (width > 0) policy.updateWidth(width)
    Component.onCompleted: {
        if (width > 0)
            policy.updateWidth(width)
        clipList.focusList()
        policy.showWelcomeIfNeeded()
    }
    Connections {
        target: AppEvents
        function onShowWelcomeTour() { policy.requestWelcome() }
    }

    // Return copies the selected clip unless a text field has it (the note, the search).
    Keys.onPressed: event => {
        if ((event.key === Qt.Key_Return || event.key === Qt.Key_Enter) && event.modifiers === Qt.NoModifier) {
            if (event.isAutoRepeat || policy.isTextEntry(root.Window.activeFocusItem))
                return
            event.accepted = policy.copySelectedClip()
        } else if (event.key === Qt.Key_Space && event.modifiers === Qt.NoModifier && !event.isAutoRepeat) {
            if (policy.isTextEntry(root.Window.activeFocusItem) || root.store.selectedID === undefined)
                return
            root.store.quickLookClipID = root.store.selectedID
            event.accepted = true
        }
    }
    Shortcut {
        sequence: KeyLegends.tagSequence
        enabled: policy.activeSheet === ""
        onActivated: root.store.showTagPicker = true
    }

    function presentSheets() {
        const sheet = policy.activeSheet
        for (const popup of [quickLook, tagSheet, welcome]) {
            const wanted = (popup === quickLook && sheet === "quickLook") || (popup === tagSheet && sheet === "tagPicker")
                || (popup === welcome && sheet === "welcome")
            if (wanted && !popup.opened)
                popup.open()
            else if (!wanted && (popup.opened || popup.visible))
                popup.close()
        }
        if (sheet === "")
            clipList.focusList()
    }
    function sheetClosed(name) {
        if (policy.activeSheet === name)
            policy.sheetDismissed()
    }

    WindowSunset { anchors.fill: parent }

    Item {
        id: toolbar
        width: parent.width
        height: 40
        IconButton {
            objectName: "sidebarToggle"
            x: 12
            anchors.verticalCenter: parent.verticalCenter
            iconName: "sidebar.left"
            iconSize: 16
            help: policy.sidebarVisible ? "Hide Sidebar" : "Show Sidebar"
            hoverFill: true
            onClicked: policy.toggleSidebar()
        }
    }

    SplitView {
        id: split
        anchors.top: toolbar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        orientation: Qt.Horizontal
        handle: Item { implicitWidth: 6 }

        Item {
            id: sidebar
            visible: policy.sidebarVisible
            SplitView.minimumWidth: 200
            SplitView.preferredWidth: 230
            SplitView.maximumWidth: 300
            SidebarView {
                anchors.fill: parent
                anchors.leftMargin: 10
                anchors.bottomMargin: 10
                store: root.store
            }
        }

        Item {
            id: detail
            SplitView.fillWidth: true
            SplitView.minimumWidth: 300

            ClipListView {
                id: clipList
                anchors.top: parent.top
                anchors.bottom: parent.bottom
                anchors.left: parent.left
                anchors.right: dockedColumn.left
                store: root.store
                onSettingsRequested: {
                    const window = root.Window.window
                    if (window && window.commands)
                        window.commands.openSettings()
                }
            }

            Item {
                id: dockedColumn
                readonly property bool shown: policy.inspectorPlacement === "docked"
                anchors.top: parent.top
                anchors.bottom: parent.bottom
                anchors.right: parent.right
                width: shown ? 331 : 0
                clip: true
                Rectangle {
                    width: 1
                    height: parent.height
                    color: Theme.sunsetHairline
                }
                InspectorView {
                    id: dockedInspector
                    x: 1 + (dockedColumn.shown ? 0 : 40)
                    width: 330
                    height: parent.height
                    visible: dockedColumn.shown
                    opacity: dockedColumn.shown ? 1 : 0
                    store: root.store
                    MotionAnimation on x { preset: Animations.selection }
                    MotionAnimation on opacity { preset: Animations.selection }
                }
            }

            InspectorView {
                id: floatingInspector
                readonly property bool shown: policy.inspectorPlacement === "floating"
                objectName: "floatingInspector"
                visible: shown || opacity > 0
                opacity: shown ? 1 : 0
                width: 320
                x: detail.width - width - 12 + (shown ? 0 : 40)
                // Below the list's header, so its search field stays in reach.
                y: 96
                height: Math.max(0, detail.height - y - 12)
                store: root.store
                MotionAnimation on x { preset: Animations.selection }
                MotionAnimation on opacity { preset: Animations.selection }
            }
        }
    }

    QuickLookView {
        id: quickLook
        parent: Overlay.overlay
        store: root.store
        clipId: root.store.quickLookClipID
        layout: policy
        onClosed: root.sheetClosed("quickLook")
    }
    TagPickerSheet {
        id: tagSheet
        parent: Overlay.overlay
        store: root.store
        layout: policy
        onClosed: root.sheetClosed("tagPicker")
    }
    WelcomeSheet {
        id: welcome
        parent: Overlay.overlay
        onDismissed: root.sheetClosed("welcome")
    }
}
