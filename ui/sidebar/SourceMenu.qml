import QtQuick
import QtQuick.Controls
import Corvane.Ui

// A source row's context menu: keep it in the sidebar or stop keeping it, or hide it. Showing a
// hidden source again is done in the "Show all" popover.
Menu {
    id: menu

    property SidebarModel sidebarModel
    property string sourceKey
    property string keepTitle

    function openFor(key) {
        sourceKey = key
        keepTitle = sidebarModel.keepMenuTitle(key)
        popup()
    }

    MenuItem {
        objectName: "keepItem"
        text: menu.keepTitle
        onTriggered: menu.sidebarModel.toggleKept(menu.sourceKey)
    }
    MenuItem {
        objectName: "hideItem"
        text: qsTr("Hide from Sidebar")
        onTriggered: menu.sidebarModel.hide(menu.sourceKey)
    }
}
