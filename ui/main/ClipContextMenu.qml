import QtQuick
import QtQuick.Controls
import Qt.labs.qmlmodels
import Corvane.Ui
import Corvane.Design

// The one context menu of a clip. `openFor(id)` rebuilds it from the store's state at that
// moment and opens it at the pointer, inside the window (a separate menu window would take the
// focus away from the popover and close it). It never changes the selection.
Menu {
    id: menu

    property alias store: model.store

    // Stays inside the window: the popover is narrow and a menu cut at its edge is unreadable.
    margins: 6
    // The "Tags" line, made by the menu for its submenu, aligned with the other labels.
    delegate: MenuItem {
        id: submenuItem
        implicitHeight: 28
        font.pointSize: Theme.bodySize
        contentItem: Text {
            leftPadding: 26
            text: submenuItem.text
            textFormat: Text.PlainText
            font: submenuItem.font
            color: Theme.sunsetInk
            verticalAlignment: Text.AlignVCenter
        }
    }

    function openFor(clipId) {
        if (!model.build(clipId))
            return
        // A Menu keeps its width whatever its items hold; fit it to the longest label.
        let widest = 0
        for (let i = 0; i < menu.count; ++i)
            widest = Math.max(widest, menu.itemAt(i).implicitWidth)
        menu.width = Math.max(180, widest + menu.leftPadding + menu.rightPadding)
        menu.popup()
    }

    ClipMenuModel { id: model }

    // One line of the model: its index, label, icon name and whether it destroys.
    component Entry: MenuItem {
        id: entry
        required property int index
        required property string label
        required property string iconName
        required property bool destructive
        property color tint: Theme.sunsetInk
        text: label
        implicitHeight: 28
        palette.light: Theme.sunsetHoverShade
        palette.midlight: Theme.sunsetHoverShade
        // Labels can carry an application's name: drawn as plain text, never as markup.
        contentItem: Row {
            leftPadding: 4
            spacing: 8
            IconImage {
                anchors.verticalCenter: parent.verticalCenter
                iconName: entry.iconName
                color: entry.tint
                size: 14
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: entry.text
                textFormat: Text.PlainText
                font: entry.font
                color: entry.destructive ? Theme.sunsetDanger : Theme.sunsetInk
            }
        }
        font.pointSize: Theme.bodySize
    }

    // Held as a property so it is not added to the menu by itself; the entries place it.
    property Menu tagsMenu: Menu {
        id: tagsMenu
        title: qsTr("Tags")
        Instantiator {
            model: model.tags
            delegate: Entry {
                tint: Theme.tagColor(index)
                onTriggered: model.performTag(index)
            }
            onObjectAdded: (index, object) => tagsMenu.insertItem(index, object)
            onObjectRemoved: (index, object) => tagsMenu.removeItem(object)
        }
    }

    Instantiator {
        id: lines
        model: model.entries
        delegate: DelegateChooser {
            role: "kind"
            DelegateChoice {
                roleValue: "action"
                Entry {
                    tint: destructive ? Theme.sunsetDanger : Theme.sunsetMuted
                    onTriggered: model.perform(index)
                }
            }
            DelegateChoice {
                roleValue: "separator"
                MenuSeparator { }
            }
            DelegateChoice {
                roleValue: "tags"
                // The nested "Tags" menu takes this place in the list.
                QtObject { readonly property bool isTagsPlaceholder: true }
            }
        }
        onObjectAdded: (index, object) => {
            if (object.isTagsPlaceholder)
                menu.insertMenu(index, tagsMenu)
            else
                menu.insertItem(index, object)
        }
        onObjectRemoved: (index, object) => {
            if (object.isTagsPlaceholder) {
                for (let i = 0; i < menu.count; ++i) {
                    if (menu.itemAt(i).subMenu === tagsMenu) {
                        menu.takeMenu(i)
                        break
                    }
                }
            } else
                menu.removeItem(object)
        }
    }
}
