import QtQuick
import QtQuick.Controls
import QtQuick.Layouts

// The shell's own view of the history: a search field over the store's clip list.
Pane {
    id: view
    property var store: null
    property var hostWindow: null
    padding: 12

    Connections {
        target: view.hostWindow
        ignoreUnknownSignals: true
        function onFocusSearch() { search.forceActiveFocus(); search.selectAll() }
        function onReleaseSearchFocus() { list.forceActiveFocus() }
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 8

        Label {
            text: "Corvane"
            font.pixelSize: 20
            font.bold: true
        }
        TextField {
            id: search
            objectName: "searchField"
            Layout.fillWidth: true
            placeholderText: qsTr("Search clips")
            text: view.store ? view.store.searchText : ""
            onTextEdited: if (view.store) view.store.searchText = text
            Keys.onDownPressed: list.forceActiveFocus()
        }
        ListView {
            id: list
            objectName: "clipList"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: view.store ? view.store.clipModel : null
            delegate: ItemDelegate {
                required property var clipId
                required property string title
                required property string subtitle
                required property bool isSelected
                width: ListView.view.width
                highlighted: isSelected
                contentItem: ColumnLayout {
                    spacing: 2
                    Label {
                        Layout.fillWidth: true
                        text: title
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        maximumLineCount: 1
                    }
                    Label {
                        Layout.fillWidth: true
                        text: subtitle
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        opacity: 0.6
                        font.pixelSize: 11
                    }
                }
                onClicked: view.store.select(clipId)
                onDoubleClicked: view.store.copy(clipId)
            }
            Label {
                anchors.centerIn: parent
                visible: list.count === 0
                text: qsTr("Copy something and it appears here.")
                opacity: 0.6
            }
        }
    }
}
