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
    // The sheets, once made.
    readonly property Popup quickLook: quickLookSheet.item as Popup
    readonly property Popup tagSheet: tagPickerSheet.item as Popup
    readonly property Popup welcome: welcomeSheet.item as Popup
    readonly property Item inspector: policy.inspectorPlacement === "docked" ? dockedInspector.item as Item
                                    : policy.inspectorPlacement === "floating" ? floatingInspector.item as Item : null

    implicitWidth: 1200
    implicitHeight: 760
    focus: true

    component DeferredInspector: DeferredLoader {
        property bool shown
        needed: shown
        sourceComponent: Component {
            InspectorView { store: root.store } // qmllint disable unqualified
        }
    }

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
        for (const loader of [quickLookSheet, tagPickerSheet, welcomeSheet]) {
            const wanted = loader.sheet === sheet
            if (wanted)
                loader.needed = true
            const popup = loader.item
            if (!popup)
                continue
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
                DeferredInspector {
                    id: dockedInspector
                    shown: dockedColumn.shown
                    x: 1 + (shown ? 0 : 40)
                    width: 330
                    height: parent.height
                    visible: shown
                    opacity: shown ? 1 : 0
                    MotionAnimation on x { preset: Animations.selection }
                    MotionAnimation on opacity { preset: Animations.selection }
                }
            }

            DeferredInspector {
                id: floatingInspector
                objectName: "floatingInspector"
                shown: policy.inspectorPlacement === "floating"
                visible: shown || opacity > 0
                opacity: shown ? 1 : 0
                width: 320
                x: detail.width - width - 12 + (shown ? 0 : 40)
                // Below the list's header, so its search field stays in reach.
                y: 96
                height: Math.max(0, detail.height - y - 12)
                MotionAnimation on x { preset: Animations.selection }
                MotionAnimation on opacity { preset: Animations.selection }
            }
        }
    }

    // qmllint disable unqualified
    DeferredLoader {
        id: quickLookSheet
        readonly property string sheet: "quickLook"
        sourceComponent: Component {
            QuickLookView {
                parent: root.Overlay.overlay
                store: root.store
                clipId: root.store.quickLookClipID
                layout: policy
                onClosed: root.sheetClosed("quickLook")
            }
        }
    }
    DeferredLoader {
        id: tagPickerSheet
        readonly property string sheet: "tagPicker"
        sourceComponent: Component {
            TagPickerSheet {
                parent: root.Overlay.overlay
                store: root.store
                layout: policy
                onClosed: root.sheetClosed("tagPicker")
            }
        }
    }
    DeferredLoader {
        id: welcomeSheet
        readonly property string sheet: "welcome"
        sourceComponent: Component {
            WelcomeSheet {
                parent: root.Overlay.overlay
                onDismissed: root.sheetClosed("welcome")
            }
        }
    }
    // qmllint enable unqualified
}
