import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Corvane.Engine
import Corvane.Ui
import Corvane.Design

// The settings window's content, fixed at 520 × 520: the General and Privacy tabs over the cream
// background, and the store's notices along the bottom.
Rectangle {
    id: root
    objectName: "settingsView"

    property ClipboardStore store: null
    property SettingsHost host: null
    readonly property alias tabBar: tabs
    readonly property alias general: general
    readonly property alias privacy: privacy

    implicitWidth: 520
    implicitHeight: 520
    width: 520
    height: 520
    color: Theme.sunsetCream
    // The form's controls in the sunset colours, whatever palette the application carries.
    palette.highlight: Theme.sunsetAccent
    palette.dark: Theme.sunsetAccent
    palette.window: Theme.sunsetCream
    palette.windowText: Theme.sunsetInk
    palette.base: "white"
    palette.text: Theme.sunsetInk
    palette.button: "#F4EEE8"
    palette.buttonText: Theme.sunsetInk
    palette.highlightedText: Theme.sunsetInk

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        TabBar {
            id: tabs
            objectName: "settingsTabs"
            Layout.alignment: Qt.AlignHCenter
            Layout.topMargin: 10
            spacing: 4
            background: null
            Accessible.name: qsTr("Settings")

            component SettingsTab: TabButton {
                id: tab
                property string symbol
                width: implicitWidth
                leftPadding: 14
                rightPadding: 14
                contentItem: Row {
                    spacing: 6
                    IconImage {
                        anchors.verticalCenter: parent.verticalCenter
                        iconName: tab.symbol
                        color: tab.checked ? Theme.sunsetOnAccent : Theme.sunsetMuted
                        size: 14
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: tab.text
                        textFormat: Text.PlainText
                        font.pointSize: Theme.bodySize
                        color: tab.checked ? Theme.sunsetOnAccent : Theme.sunsetMuted
                    }
                }
                background: Rectangle {
                    radius: height / 2
                    color: tab.checked ? Theme.sunsetAccent : (tab.hovered ? Theme.sunsetHoverShade : "transparent")
                }
            }

            SettingsTab { objectName: "generalTab"; text: qsTr("General"); symbol: "gearshape" }
            SettingsTab { objectName: "privacyTab"; text: qsTr("Privacy"); symbol: "hand.raised" }
        }

        StackLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.topMargin: 8
            currentIndex: tabs.currentIndex

            GeneralSettingsView {
                id: general
                store: root.store
                host: root.host
            }
            ExclusionsSettingsView {
                id: privacy
                store: root.store
                host: root.host
            }
        }
    }

    Rectangle {
        objectName: "settingsNotice"
        readonly property var notice: root.store ? root.store.notice : ({})
        visible: notice && notice.message !== undefined
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 14
        width: Math.min(noticeText.implicitWidth + 28, parent.width - 40)
        height: noticeText.implicitHeight + 14
        radius: height / 2
        color: notice && notice.kind === "warning" ? Theme.sunsetDanger : Theme.sunsetInk
        Text {
            id: noticeText
            anchors.centerIn: parent
            width: parent.width - 28
            horizontalAlignment: Text.AlignHCenter
            text: parent.notice && parent.notice.message !== undefined ? parent.notice.message : ""
            textFormat: Text.PlainText
            wrapMode: Text.WordWrap
            font.pointSize: Theme.subheadSize
            color: Theme.sunsetOnAccent
            Accessible.role: Accessible.AlertMessage
            Accessible.name: text
        }
    }
}
