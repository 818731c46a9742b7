import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Corvane.Engine
import Corvane.Ui
import Corvane.Design

// The General tab: launch at login, storage, features, link previews, summaries, the show-window
// key, clearing the history, and the version with the update check and feedback.
ScrollView {
    id: root
    objectName: "generalSettings"

    property ClipboardStore store: null
    property SettingsHost host: null
    readonly property AppSettings settings: store ? store.settings : null
    readonly property alias controller: controller
    readonly property alias clearDialog: clearDialog
    property bool confirmingClear: false

    contentWidth: availableWidth
    clip: true
    onConfirmingClearChanged: confirmingClear ? clearDialog.open() : clearDialog.close()

    GeneralSettingsController {
        id: controller
        store: root.store
        host: root.host
        onClearFinished: (ok, error) => {
            if (ok)
                root.confirmingClear = false
            else
                clearDialog.failure = error
        }
    }

    ColumnLayout {
        width: root.availableWidth - 32
        x: 16
        spacing: 16

        Item { implicitHeight: 4 }

        SettingsSection {
            SettingsSwitch {
                label: qsTr("Launch at login")
                checked: root.settings ? root.settings.launchAtLogin : false
                onToggled: (on) => root.settings.launchAtLogin = on
            }
        }

        SettingsSection {
            footer: qsTr("When storage is full, the oldest clips are removed first. Pinned and tagged clips are never removed.")
            SettingsRow {
                label: qsTr("History storage")
                ComboBox {
                    objectName: "storagePicker"
                    model: controller.storagePresets
                    textRole: "label"
                    valueRole: "value"
                    currentIndex: controller.storagePresetIndex
                    implicitWidth: 110
                    Accessible.name: qsTr("History storage")
                    onActivated: (index) => controller.storagePresetIndex = index
                }
            }
            SettingsRow {
                label: qsTr("Currently used")
                BusyIndicator {
                    running: controller.busy
                    visible: running
                    implicitWidth: 18
                    implicitHeight: 18
                    Accessible.name: controller.busyText
                }
                Text {
                    objectName: "storageUsed"
                    text: controller.storageUsedText
                    textFormat: Text.PlainText
                    font.pointSize: Theme.bodySize
                    color: Theme.sunsetMuted
                    Accessible.role: Accessible.StaticText
                    Accessible.name: qsTr("Currently used") + " " + text
                }
            }
        }

        SettingsSection {
            header: qsTr("Features")
            SettingsSwitch {
                label: qsTr("Pause recording")
                checked: controller.isPaused
                onToggled: (on) => controller.isPaused = on
            }
            SettingsSwitch {
                label: qsTr("Save images and screenshots")
                checked: root.settings ? root.settings.recordImages : false
                onToggled: (on) => root.settings.recordImages = on
            }
            SettingsRow {
                label: qsTr("Image files copied in the file manager")
                enabledLabel: root.settings && root.settings.recordImages
                ComboBox {
                    objectName: "fileImagesPicker"
                    enabled: root.settings && root.settings.recordImages
                    model: [qsTr("Save the image"), qsTr("Save the file location")]
                    currentIndex: root.settings && root.settings.finderImagesAsImages ? 0 : 1
                    implicitWidth: 190
                    Accessible.name: qsTr("Image files copied in the file manager")
                    onActivated: (index) => root.settings.finderImagesAsImages = index === 0
                }
            }
            SettingsSwitch {
                label: qsTr("Show images as a photo grid")
                checked: root.settings ? root.settings.photoGridEnabled : false
                onToggled: (on) => root.settings.photoGridEnabled = on
            }
            SettingsSwitch {
                label: qsTr("Open the preview when a clip is selected")
                checked: root.settings ? root.settings.autoShowPreview : false
                onToggled: (on) => root.settings.autoShowPreview = on
            }
            SettingsSwitch {
                label: qsTr("Animate the menu bar icon on each copy")
                checked: root.settings ? root.settings.animateMenuBarIcon : false
                onToggled: (on) => root.settings.animateMenuBarIcon = on
            }
        }

        SettingsSection {
            footer: qsTr("Corvane connects to the internet only to load previews of links you copy and icons of the websites you copy from. Secrets are never sent.")
            SettingsSwitch {
                label: qsTr("Load link previews and website icons")
                checked: root.settings ? root.settings.internetPreviewsEnabled : false
                onToggled: (on) => root.settings.internetPreviewsEnabled = on
            }
        }

        SettingsSection {
            header: qsTr("Summaries")
            footer: controller.availabilityText
            SettingsSwitch {
                label: qsTr("Summaries and smart titles")
                switchEnabled: controller.summariesAvailable
                checked: root.settings ? root.settings.intelligenceEnabled : false
                onToggled: (on) => root.settings.intelligenceEnabled = on
            }
            SettingsSwitch {
                label: qsTr("Show summaries and headings in the clip list")
                switchEnabled: controller.summariesAvailable && root.settings && root.settings.intelligenceEnabled
                checked: root.settings ? root.settings.showSummariesInList : false
                onToggled: (on) => root.settings.showSummariesInList = on
            }
        }

        SettingsSection {
            footer: controller.keycapNote
            footerColor: Theme.sunsetDanger
            SettingsRow {
                label: qsTr("Open Corvane")
                Text {
                    objectName: "keycap"
                    text: controller.keycapText.length > 0 ? controller.keycapText : qsTr("No key")
                    textFormat: Text.PlainText
                    font.family: Theme.monospaceFamily
                    font.pointSize: Theme.bodySize
                    color: controller.keycapNote.length > 0 ? Theme.sunsetMuted : Theme.sunsetInk
                    font.strikeout: controller.keycapNote.length > 0 && controller.keycapText.length > 0
                    leftPadding: 8
                    rightPadding: 8
                    topPadding: 2
                    bottomPadding: 2
                    Accessible.role: Accessible.StaticText
                    Accessible.name: qsTr("Open Corvane") + " " + text
                    Rectangle {
                        anchors.fill: parent
                        z: -1
                        radius: 5
                        color: Theme.sunsetHoverShade
                    }
                }
            }
        }

        SettingsSection {
            footer: qsTr("Everything is stored locally on this computer.")
            SettingsRow {
                label: qsTr("History")
                Button {
                    objectName: "clearHistoryButton"
                    text: qsTr("Clear History…")
                    enabled: !controller.busy
                    palette.buttonText: Theme.sunsetDanger
                    onClicked: root.confirmingClear = true
                }
            }
        }

        SettingsSection {
            SettingsRow {
                label: qsTr("Corvane")
                Text {
                    objectName: "versionText"
                    text: controller.versionText
                    textFormat: Text.PlainText
                    font.pointSize: Theme.bodySize
                    color: Theme.sunsetMuted
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 8
                Button {
                    text: qsTr("Check for Updates…")
                    onClicked: if (root.host) root.host.checkForUpdates()
                }
                Button {
                    text: qsTr("Send Feedback…")
                    onClicked: if (root.host) root.host.sendFeedback()
                }
            }
        }

        Item { implicitHeight: 8 }
    }

    Dialog {
        id: clearDialog
        objectName: "clearDialog"

        property string failure

        parent: Overlay.overlay
        anchors.centerIn: parent
        width: Math.min(400, root.width - 40)
        modal: true
        closePolicy: controller.busy ? Popup.NoAutoClose : Popup.CloseOnEscape
        title: qsTr("Clear all unpinned, untagged clips?")
        onAboutToShow: failure = ""
        onClosed: root.confirmingClear = false

        contentItem: Column {
            spacing: 10
            Text {
                width: parent.width
                text: qsTr("Pinned and tagged clips are kept. This can’t be undone.")
                textFormat: Text.PlainText
                wrapMode: Text.WordWrap
                font.pointSize: Theme.bodySize
                color: Theme.sunsetInk
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            Row {
                spacing: 8
                visible: controller.busy
                BusyIndicator { running: controller.busy; implicitWidth: 18; implicitHeight: 18 }
                Text {
                    text: controller.busyText
                    textFormat: Text.PlainText
                    font.pointSize: Theme.subheadSize
                    color: Theme.sunsetMuted
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
            Text {
                objectName: "clearFailure"
                width: parent.width
                visible: clearDialog.failure.length > 0
                text: qsTr("The history could not be cleared: ") + clearDialog.failure
                textFormat: Text.PlainText
                wrapMode: Text.WordWrap
                font.pointSize: Theme.subheadSize
                color: Theme.sunsetDanger
                Accessible.role: Accessible.AlertMessage
                Accessible.name: text
            }
        }

        footer: DialogButtonBox {
            Button {
                text: qsTr("Cancel")
                enabled: !controller.busy
                DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
            }
            Button {
                objectName: "confirmClearButton"
                text: qsTr("Clear History")
                enabled: !controller.busy
                palette.buttonText: Theme.sunsetDanger
                DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
                onClicked: {
                    clearDialog.failure = ""
                    controller.clearHistory()
                }
            }
        }
        onRejected: root.confirmingClear = false
    }
}
