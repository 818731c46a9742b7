import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Corvane.Engine
import Corvane.Ui
import Corvane.Design

// The Privacy tab: what the privacy rules keep out of the history, and the two lists the user edits.
ScrollView {
    id: root
    objectName: "privacySettings"

    property ClipboardStore store: null
    property SettingsHost host: null
    readonly property alias model: privacy
    readonly property alias addAppMenu: addAppMenu

    contentWidth: availableWidth
    clip: true

    PrivacyTabModel {
        id: privacy
        store: root.store
        host: root.host
    }

    // Rebuilt whenever the tab is shown. (The rows' buttons edit the list holding them, so their
    // edits run once the click has finished.)
    onVisibleChanged: if (visible) privacy.refresh()
    Component.onCompleted: if (visible) privacy.refresh()
    Connections {
        target: root.Window.window
        function onVisibleChanged() {
            if (root.Window.window.visible && root.visible)
                privacy.refresh()
        }
    }

    component Caption: Text {
        width: parent ? parent.width : implicitWidth
        textFormat: Text.PlainText
        wrapMode: Text.WordWrap
        font.pointSize: Theme.bodySize
        color: Theme.sunsetMuted
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }

    component MinusButton: IconButton {
        iconName: "minus.circle.fill"
        iconColor: Theme.sunsetMuted
        iconSize: 15
    }

    ColumnLayout {
        width: root.availableWidth - 32
        x: 16
        spacing: 16

        Item { implicitHeight: 4 }

        Text {
            Layout.fillWidth: true
            text: qsTr("Corvane skips password managers and hidden content automatically and masks API keys. It can’t recognise passwords copied from ordinary pages or unknown apps: exclude those apps below, or delete the item.")
            textFormat: Text.PlainText
            wrapMode: Text.WordWrap
            font.pointSize: Theme.bodySize
            color: Theme.sunsetInk
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        SettingsSection {
            header: qsTr("Recently skipped")
            footer: qsTr("Copies Corvane chose not to save, and why. The copied content itself is never stored or shown here.")
            Caption {
                visible: privacy.recentSkips.length === 0
                text: qsTr("Nothing skipped yet.")
            }
            Repeater {
                model: privacy.recentSkips
                delegate: RowLayout {
                    required property var modelData
                    width: parent ? parent.width : implicitWidth
                    spacing: 8
                    Text {
                        text: modelData.appName
                        textFormat: Text.PlainText
                        font.pointSize: Theme.bodySize
                        font.weight: Font.Medium
                        color: Theme.sunsetInk
                        Layout.maximumWidth: 160
                        elide: Text.ElideRight
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                    }
                    Text {
                        Layout.fillWidth: true
                        text: modelData.reason
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        font.pointSize: Theme.bodySize
                        color: Theme.sunsetMuted
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                    }
                    Text {
                        text: modelData.time
                        textFormat: Text.PlainText
                        font.pointSize: Theme.bodySize
                        color: Theme.sunsetMuted
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                    }
                }
            }
        }

        SettingsSection {
            header: qsTr("Always skipped")
            footer: qsTr("Also always skipped: any app with “Password”, “Keychain” or “Vault” in its name, and anything an app marks as concealed.")
            Repeater {
                model: privacy.protectedApps
                delegate: Item {
                    required property var modelData
                    width: parent ? parent.width : implicitWidth
                    implicitHeight: 22
                    AppRowLabel {
                        anchors.verticalCenter: parent.verticalCenter
                        bundleID: modelData.bundleID
                        name: modelData.name
                        store: root.store
                        hasIcon: privacy.hasIcon(modelData.bundleID)
                    }
                    IconImage {
                        anchors.right: parent.right
                        anchors.verticalCenter: parent.verticalCenter
                        iconName: "lock.fill"
                        color: Theme.sunsetMuted
                        size: 11
                        Accessible.role: Accessible.Graphic
                        Accessible.name: qsTr("Password managers are always skipped")
                        HoverHandler { id: lockHover }
                        ToolTip.visible: lockHover.hovered
                        ToolTip.text: qsTr("Password managers are always skipped")
                    }
                }
            }
        }

        SettingsSection {
            visible: privacy.showOverrides
            header: qsTr("Allowed despite their name")
            AppListSection {
                objectName: "overridesList"
                Accessible.name: qsTr("Allowed despite their name")
                model: privacy.overrides
                store: root.store
                privacy: privacy
                trailing: MinusButton {
                    help: qsTr("Skip this app again")
                    onClicked: Qt.callLater(privacy.skipAgain, parent.bundleID)
                }
            }
        }

        SettingsSection {
            header: qsTr("Your exclusions")
            footer: privacy.knowsRunningApps ? "" : qsTr("This session doesn’t tell Corvane which app a copy comes from, so exclusions only work for apps it can identify. “Add App” lists the installed apps.")
            headerAccessory: Component {
                Button {
                    objectName: "addAppButton"
                    text: qsTr("Add App")
                    flat: true
                    icon.source: Icons.url("plus", Theme.sunsetAccent)
                    icon.width: 12
                    icon.height: 12
                    palette.windowText: Theme.sunsetAccent
                    onClicked: addAppMenu.popup(this, 0, height)
                }
            }
            Caption {
                visible: privacy.exclusions.count === 0
                text: qsTr("No apps excluded")
            }
            AppListSection {
                objectName: "exclusionsList"
                Accessible.name: qsTr("Your exclusions")
                model: privacy.exclusions
                store: root.store
                privacy: privacy
                trailing: MinusButton {
                    help: qsTr("Remove exclusion")
                    onClicked: Qt.callLater(privacy.removeExclusion, parent.bundleID)
                }
            }
        }

        SettingsSection {
            visible: privacy.showNameSkipped
            header: qsTr("Skipped because of their name")
            footer: qsTr("Allow an app only if it does not store passwords.")
            AppListSection {
                objectName: "nameSkippedList"
                Accessible.name: qsTr("Skipped because of their name")
                model: privacy.nameSkippedApps
                store: root.store
                privacy: privacy
                trailing: Button {
                    text: qsTr("Allow")
                    onClicked: Qt.callLater(privacy.allow, parent.bundleID, parent.name)
                }
            }
        }

        Item { implicitHeight: 8 }
    }

    Menu {
        id: addAppMenu
        objectName: "addAppMenu"

        MenuItem {
            visible: privacy.runningApps.count === 0
            height: visible ? implicitHeight : 0
            enabled: false
            text: privacy.knowsRunningApps ? qsTr("No other running apps") : qsTr("No other apps")
            contentItem: Text {
                text: parent.text
                textFormat: Text.PlainText
                color: Theme.sunsetMuted
                font.pointSize: Theme.bodySize
                verticalAlignment: Text.AlignVCenter
            }
        }
        Instantiator {
            model: privacy.runningApps
            delegate: MenuItem {
                id: appItem
                required property string bundleID
                required property string name
                objectName: "addApp_" + bundleID
                text: name
                contentItem: AppRowLabel {
                    bundleID: appItem.bundleID
                    name: appItem.name
                    store: root.store
                    hasIcon: privacy.hasIcon(appItem.bundleID)
                }
                // The edit removes this very item: close first, edit once the signal is done.
                onTriggered: {
                    addAppMenu.close()
                    Qt.callLater(privacy.addExclusion, appItem.bundleID, appItem.name)
                }
            }
            onObjectAdded: (index, object) => addAppMenu.insertItem(index + 1, object)
            onObjectRemoved: (index, object) => addAppMenu.removeItem(object)
        }
    }
}
