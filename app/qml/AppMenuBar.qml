import QtQuick
import QtQuick.Controls
import Corvane.Design

// The main window's menus: the app menu, "Clip" and "Help".
MenuBar {
    id: bar
    required property var commands

    Menu {
        title: qsTr("&Corvane")
        Action {
            text: qsTr("Settings…")
            shortcut: KeyLegends.settingsSequence
            enabled: bar.commands.settingsAvailable
            onTriggered: bar.commands.openSettings()
        }
        MenuSeparator {}
        Action { text: qsTr("Quit Corvane"); shortcut: StandardKey.Quit; onTriggered: bar.commands.quit() }
    }
    Menu {
        title: qsTr("C&lip")
        Action { text: qsTr("Tag…"); shortcut: KeyLegends.tagSequence; onTriggered: bar.commands.showTagPicker() }
        Action { text: qsTr("Quick Look"); shortcut: KeyLegends.quickLookSequence; onTriggered: bar.commands.quickLook() }
        MenuSeparator {}
        Action { text: qsTr("Find"); shortcut: KeyLegends.findSequence; onTriggered: bar.commands.find() }
    }
    Menu {
        title: qsTr("&Help")
        Action { text: qsTr("Welcome Tour"); onTriggered: bar.commands.showWelcomeTour() }
        MenuSeparator {}
        Action { text: qsTr("Send Feedback…"); onTriggered: bar.commands.sendFeedback() }
        Action { text: qsTr("Run Self-Test"); onTriggered: bar.commands.runSelfTest() }
        Action { text: qsTr("Check for Updates…"); onTriggered: bar.commands.checkForUpdates() }
    }
}
