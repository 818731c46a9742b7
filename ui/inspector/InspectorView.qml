import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Corvane.Engine
import Corvane.Design
import Corvane.Ui
import Corvane.Main
import Corvane.LinkPreview

// The right-hand pane: the selected clip in full (header and note, the cards some clips get, the
// preview, tags, details) and its actions, or an empty state without a selection.
FrostedCard {
    id: root
    objectName: "inspectorView"

    property ClipboardStore store: ClipboardStore
    readonly property InspectorViewModel model: vm
    readonly property alias noteField: note
    readonly property alias copyButton: copyButton

    implicitWidth: 330
    Accessible.role: Accessible.Pane
    Accessible.name: "Inspector"

    InspectorViewModel {
        id: vm
        store: root.store
        onClipIdChanged: {
            scroll.contentItem.contentY = 0
            if (!Motion.reduceMotion)
                appear.restart()
        }
    }

    Item {
        anchors.fill: parent
        anchors.topMargin: 8
        anchors.bottomMargin: 8
        anchors.leftMargin: 6
        anchors.rightMargin: 6

        SunsetEmptyState {
            anchors.centerIn: parent
            width: parent.width - 24
            visible: !vm.hasClip
            systemImage: "cursorarrow.click.2"
            message: "Select a clip to preview it."
        }

        ScrollView {
            id: scroll
            objectName: "inspectorScroll"
            anchors.fill: parent
            visible: vm.hasClip
            contentWidth: availableWidth
            ScrollBar.vertical.policy: ScrollBar.AsNeeded

            ColumnLayout {
                id: column
                x: 18
                width: scroll.availableWidth - 36
                spacing: 16

                ParallelAnimation {
                    id: appear
                    NumberAnimation { target: column; property: "opacity"; from: 0; to: 1; duration: Animations.selection.duration }
                    NumberAnimation { target: column; property: "y"; from: 26; to: 18; duration: Animations.selection.duration; easing.type: Easing.OutCubic }
                }
                y: 18

                // 1. Header
                ColumnLayout {
                    Layout.fillWidth: true
                    spacing: 10
                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 10
                        GroupDot { group: vm.group; size: 10 }
                        ColumnLayout {
                            Layout.fillWidth: true
                            spacing: 2
                            Text {
                                objectName: "kindTitle"
                                Layout.fillWidth: true
                                text: vm.kindTitle
                                textFormat: Text.PlainText
                                font.pointSize: Theme.title2Size
                                font.bold: true
                                color: Theme.sunsetInk
                                elide: Text.ElideRight
                                Accessible.role: Accessible.Heading
                                Accessible.name: text
                            }
                            Text {
                                objectName: "secondLine"
                                Layout.fillWidth: true
                                text: vm.secondLine
                                textFormat: Text.PlainText
                                font.pointSize: Theme.subheadSize
                                color: Theme.sunsetMuted
                                elide: Text.ElideRight
                                maximumLineCount: 1
                                Accessible.role: Accessible.StaticText
                                Accessible.name: text
                            }
                        }
                        IconImage {
                            visible: vm.isPinned
                            iconName: "pin.fill"
                            color: Theme.sunsetAccent
                            size: 14
                            Accessible.role: Accessible.Graphic
                            Accessible.name: "Pinned"
                        }
                    }
                    NoteField {
                        id: note
                        Layout.fillWidth: true
                        store: root.store
                        clipId: vm.clipId
                    }
                }

                // 2. Link preview
                LinkPreviewCard {
                    Layout.fillWidth: true
                    visible: vm.showsLinkCard
                    store: root.store
                    clipId: vm.showsLinkCard ? vm.clipId : undefined
                }

                // 3. Application
                AppCard {
                    objectName: "appCard"
                    Layout.fillWidth: true
                    visible: vm.showsAppCard
                    icon: vm.appIcon
                    name: vm.appName
                    subtitle: vm.appPath
                    actionTitle: "Open App"
                    onAction: vm.openApp()
                }

                // 4. Summary
                SummaryCard {
                    Layout.fillWidth: true
                    visible: vm.showsSummary
                    title: vm.smartTitle
                    summary: vm.summary
                }

                // 5. Preview
                ClipPreview {
                    Layout.fillWidth: true
                    store: root.store
                    clipId: vm.clipId
                    large: false
                }

                // 6. QR code
                Loader {
                    Layout.fillWidth: true
                    active: vm.showsQRCode
                    visible: active
                    sourceComponent: QRCodeCard { store: root.store; text: vm.qrText }
                }

                // 7. Detected details
                Loader {
                    Layout.fillWidth: true
                    active: vm.showsDetailActions
                    visible: active
                    sourceComponent: DetailActionsCard { text: vm.detailText }
                }

                // 8. Tags
                TagPicker {
                    objectName: "inspectorTags"
                    Layout.alignment: Qt.AlignHCenter
                    store: root.store
                    clipId: vm.clipId
                    tags: vm.tags
                }

                // 9. Details
                DetailsCard {
                    objectName: "detailsCard"
                    store: root.store
                    Layout.fillWidth: true
                    sourceKey: vm.sourceKey
                    sourceLine: vm.sourceLine
                    copiedDate: vm.copiedDate
                    sizeText: vm.sizeText
                }

                // 10. Actions
                ColumnLayout {
                    Layout.fillWidth: true
                    Layout.bottomMargin: 36
                    spacing: 8
                    CopyPrimaryButton {
                        id: copyButton
                        objectName: "copyButton"
                        Layout.fillWidth: true
                        copied: vm.copied
                        onClicked: vm.copy()
                    }
                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 8
                        ShareButton {
                            objectName: "shareButton"
                            Layout.fillWidth: true
                            store: root.store
                            clipId: vm.clipId
                            enabled: vm.shareEnabled
                            help: vm.shareHelp
                        }
                        SunsetSecondaryButtonStyle {
                            objectName: "addToStackButton"
                            Layout.fillWidth: true
                            text: "Add to Stack"
                            systemImage: "square.stack.3d.up"
                            Accessible.name: text
                            onClicked: vm.addToStack()
                        }
                    }
                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 8
                        SunsetSecondaryButtonStyle {
                            objectName: "pinButton"
                            Layout.fillWidth: true
                            text: vm.pinTitle
                            systemImage: vm.pinImage
                            Accessible.name: text
                            onClicked: vm.togglePin()
                        }
                        SunsetSecondaryButtonStyle {
                            objectName: "deleteButton"
                            Layout.fillWidth: true
                            text: "Delete"
                            systemImage: "trash"
                            isDestructive: true
                            Accessible.name: text
                            onClicked: vm.deleteClip()
                        }
                    }
                }
            }
        }
    }
}
