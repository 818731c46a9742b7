import QtQuick
import QtQuick.Controls
import Corvane.Engine
import Corvane.Ui
import Corvane.Main
import Corvane.Design

// The image clips as tiles under the same day headers as the list: one list line per row of
// tiles, as many as the pane fits. Tiles select, copy, drag and open the menu like rows.
ListView {
    id: grid
    objectName: "photoGrid"

    property ClipboardStore store: ClipboardStore
    property ClipListController controller: null
    signal tileSelected()
    signal menuRequested(var clipId)
    signal dragRequested(var ids, Item source)

    readonly property alias rows: photoRows

    clip: true
    reuseItems: true
    cacheBuffer: 400
    spacing: 12
    bottomMargin: 24
    boundsBehavior: Flickable.StopAtBounds
    keyNavigationEnabled: false
    Accessible.role: Accessible.List
    Accessible.name: qsTr("Images")
    ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }

    model: PhotoRowsModel {
        id: photoRows
        source: grid.store ? grid.store.clipModel : null
        paneWidth: grid.width
    }

    section.property: "sectionKey"
    section.labelPositioning: ViewSection.InlineLabels | ViewSection.CurrentLabelAtStart
    section.delegate: DayHeader {
        required property string section
        readonly property int sectionId: parseInt(section)
        x: 20
        width: grid.width - 40
        title: grid.store ? (grid.store.clipModel.sectionsRevision, grid.store.clipModel.sectionTitle(sectionId)) : ""
        count: grid.store ? (grid.store.clipModel.sectionsRevision, grid.store.clipModel.sectionSize(sectionId)) : 0
    }

    delegate: Item {
        id: line
        required property var tiles
        width: grid.width
        height: 150 + 22

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 12
            Repeater {
                model: line.tiles
                delegate: Item {
                    id: tile
                    required property var modelData
                    objectName: "photoTile-" + modelData.clipId
                    width: photoRows.columnWidth
                    height: 150 + 22
                    Accessible.role: Accessible.ListItem
                    Accessible.name: modelData.caption
                    Accessible.selected: modelData.isSelected

                    Rectangle {
                        id: picture
                        width: parent.width
                        height: 150
                        radius: 12
                        clip: true
                        color: Theme.sunsetHoverShade
                        Image {
                            anchors.fill: parent
                            anchors.margins: 1
                            source: tile.modelData.thumbnailUrl
                            sourceSize: Qt.size(photoRows.columnWidth * 2, 300)
                            fillMode: Image.PreserveAspectCrop
                            asynchronous: true
                        }
                        Rectangle {
                            anchors.fill: parent
                            radius: 12
                            color: "transparent"
                            border.width: tile.modelData.isSelected ? 3 : 1
                            border.color: tile.modelData.isSelected ? Theme.sunsetAccent : Theme.sunsetStroke
                        }
                        TagDots {
                            anchors.top: parent.top
                            anchors.right: parent.right
                            anchors.margins: 8
                            visible: tile.modelData.tags.length > 0
                            tags: tile.modelData.tags
                            size: 8
                        }
                    }
                    Row {
                        y: 154
                        width: parent.width
                        spacing: 4
                        Text {
                            id: size
                            text: tile.modelData.caption
                            textFormat: Text.PlainText
                            font.pointSize: Theme.footnoteSize
                            font.weight: Font.DemiBold
                            color: Theme.sunsetInk
                        }
                        Text {
                            width: parent.width - size.width - 4
                            text: "· " + tile.modelData.sourceName
                            textFormat: Text.PlainText
                            elide: Text.ElideRight
                            maximumLineCount: 1
                            font.pointSize: Theme.footnoteSize
                            color: Theme.sunsetMuted
                        }
                    }

                    TapHandler {
                        acceptedButtons: Qt.LeftButton
                        onTapped: {
                            if (tapCount === 1) {
                                grid.controller.click(tile.modelData.clipId, point.modifiers)
                                grid.tileSelected()
                            }
                        }
                        onDoubleTapped: grid.store.copy(tile.modelData.clipId, false)
                    }
                    TapHandler {
                        acceptedButtons: Qt.RightButton
                        onTapped: grid.menuRequested(tile.modelData.clipId)
                    }
                    DragHandler {
                        target: null
                        onActiveChanged: if (active) grid.dragRequested(grid.controller.dragIds(tile.modelData.clipId), tile)
                    }
                }
            }
        }
    }
}
