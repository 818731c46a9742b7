import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Corvane.Design

// The shell's own view of the history: a search field over the store's clip list.
Item {
    id: view
    property var store: null

    implicitWidth: 360
    implicitHeight: 520

    WindowSunset { anchors.fill: parent }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 14
        spacing: 10

        Label {
            text: "Corvane"
            color: Theme.sunsetInk
            font.pixelSize: 20
            font.bold: true
        }
        SunsetSearchField {
            id: search
            objectName: "searchField"
            Layout.fillWidth: true
            placeholder: qsTr("Search clips")
            focusNotification: AppEvents.focusSearchName
            text: view.store ? view.store.searchText : ""
            onTextChanged: if (view.store && view.store.searchText !== text) view.store.searchText = text
        }
        ListView {
            id: list
            objectName: "clipList"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            spacing: 2
            model: view.store ? view.store.clipModel : null
            delegate: ItemDelegate {
                id: row
                required property var clipId
                required property string group
                required property string title
                required property string subtitle
                required property string preview
                required property string colorHex
                required property string thumbnailUrl
                required property bool isSelected
                width: ListView.view.width
                highlighted: isSelected
                background: Rectangle {
                    radius: 8
                    color: row.isSelected ? Theme.sunsetHighlight : row.hovered ? Theme.sunsetHoverShade : "transparent"
                }
                contentItem: RowLayout {
                    spacing: 10
                    ClipLeadingVisual {
                        group: row.group
                        colorHex: row.colorHex
                        thumbnail: row.thumbnailUrl
                        size: 22
                    }
                    ColumnLayout {
                        Layout.fillWidth: true
                        spacing: 2
                        Label {
                            Layout.fillWidth: true
                            text: row.title
                            textFormat: Text.PlainText
                            color: Theme.sunsetInk
                            elide: Text.ElideRight
                            maximumLineCount: 1
                        }
                        Label {
                            Layout.fillWidth: true
                            text: row.subtitle
                            textFormat: Text.PlainText
                            color: Theme.sunsetMuted
                            elide: Text.ElideRight
                            font.pixelSize: 11
                        }
                    }
                }
                onClicked: view.store.select(clipId)
                onDoubleClicked: view.store.copy(clipId)
            }
        }
    }
    SunsetEmptyState {
        anchors.centerIn: parent
        visible: list.count === 0
        systemImage: "doc.on.clipboard"
        message: view.store && view.store.searchText.length > 0 ? qsTr("No clips match your search.")
                                                               : qsTr("Copy something and it appears here.")
    }
}
