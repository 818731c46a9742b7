import QtQuick
import QtQuick.Controls
import Qt5Compat.GraphicalEffects
import Corvane.Engine
import Corvane.Design

// The inspector's card for a link clip: an app card for App Store links, the page's preview
// (picture, play symbol on videos, icon, title, site), "Loading preview…", or nothing.
// What it shows is decided by the service; the card asks for the preview when it appears and
// whenever its clip changes.
Item {
    id: root

    property var clipId
    property ClipboardStore store: ClipboardStore
    property LinkPreviewService service: LinkPreviewService

    readonly property var card: {
        root.service.revision; // redraw when previews or fetches change
        return root.store && root.clipId !== undefined ? root.service.card(root.clipId, root.store) : { kind: "none" };
    }
    readonly property string kind: card.kind

    implicitWidth: 320
    implicitHeight: kind === "app" ? appCard.implicitHeight
                  : kind === "preview" ? previewButton.implicitHeight
                  : kind === "loading" ? loadingRow.implicitHeight : 0
    clip: true
    MotionAnimation on implicitHeight { preset: Animations.selection }

    function load() {
        if (root.store && root.clipId !== undefined)
            root.service.loadPreview(root.clipId, root.store)
    }
    onClipIdChanged: load()
    Component.onCompleted: load()

    AppCard {
        id: appCard
        objectName: "linkAppCard"
        width: root.width
        opacity: root.kind === "app" ? 1 : 0
        visible: opacity > 0
        MotionAnimation on opacity { preset: Animations.selection }
        icon: root.kind === "app" ? root.card.iconSource : ""
        name: root.kind === "app" ? root.card.title : ""
        subtitle: root.kind === "app" ? root.card.siteName : ""
        actionTitle: qsTr("Open in App Store")
        onAction: root.service.openLink(root.card.openURL)
    }

    PressableStyle {
        id: previewButton
        objectName: "linkPreviewButton"
        width: root.width
        pressScale: 0.98
        opacity: root.kind === "preview" ? 1 : 0
        visible: opacity > 0
        MotionAnimation on opacity { preset: Animations.selection }
        implicitHeight: content.implicitHeight
        Accessible.role: Accessible.Link
        Accessible.name: root.kind === "preview" ? root.card.title : ""
        Accessible.description: qsTr("Open in browser")
        ToolTip.text: qsTr("Open in browser")
        ToolTip.visible: hovered
        ToolTip.delay: 700
        onClicked: root.service.openLink(root.card.openURL)

        background: GlassSurface { cornerRadius: 14 }

        contentItem: Item {
            implicitHeight: content.implicitHeight
            layer.enabled: true
            layer.effect: OpacityMask {
                maskSource: Rectangle { width: previewButton.width; height: previewButton.height; radius: 14 }
            }

            Column {
                id: content
                width: parent.width
                spacing: 0

                Item {
                    width: parent.width
                    height: 150
                    visible: root.kind === "preview" && root.card.imageSource.length > 0

                    Image {
                        id: picture
                        objectName: "linkPreviewImage"
                        anchors.fill: parent
                        source: parent.visible ? root.card.imageSource : ""
                        sourceSize.width: 800
                        fillMode: Image.PreserveAspectCrop
                        smooth: true
                        asynchronous: true
                        Accessible.ignored: true
                    }

                    Rectangle {
                        objectName: "linkPreviewPlay"
                        anchors.centerIn: parent
                        width: 30
                        height: 30
                        radius: 15
                        visible: root.kind === "preview" && root.card.isVideo
                        color: Qt.alpha(Theme.sunsetInk, 0.55)
                        Accessible.ignored: true

                        IconImage {
                            anchors.centerIn: parent
                            iconName: "play.circle.fill"
                            color: "white"
                            size: 40
                        }
                    }
                }

                Row {
                    x: 12
                    width: parent.width - 24
                    topPadding: 12
                    bottomPadding: 12
                    spacing: 8

                    Image {
                        id: siteIcon
                        width: 16
                        height: 16
                        visible: root.kind === "preview" && root.card.iconSource.length > 0
                        source: visible ? root.card.iconSource : ""
                        sourceSize: Qt.size(32, 32)
                        fillMode: Image.PreserveAspectCrop
                        smooth: true
                        asynchronous: true
                        layer.enabled: true
                        layer.effect: OpacityMask {
                            maskSource: Rectangle { width: 16; height: 16; radius: 4 }
                        }
                        Accessible.ignored: true
                    }

                    Column {
                        width: parent.width - (siteIcon.visible ? siteIcon.width + parent.spacing : 0)
                        spacing: 2

                        Text {
                            width: parent.width
                            text: root.kind === "preview" ? root.card.title : ""
                            textFormat: Text.PlainText
                            font.pointSize: Theme.bodySize
                            font.weight: Font.DemiBold
                            color: Theme.sunsetInk
                            wrapMode: Text.Wrap
                            maximumLineCount: 2
                            elide: Text.ElideRight
                            horizontalAlignment: Text.AlignLeft
                            Accessible.role: Accessible.StaticText
                            Accessible.name: text
                        }

                        Text {
                            width: parent.width
                            text: root.kind === "preview" ? root.card.siteName : ""
                            textFormat: Text.PlainText
                            font.pointSize: Theme.footnoteSize
                            color: Theme.sunsetMuted
                            elide: Text.ElideRight
                            Accessible.role: Accessible.StaticText
                            Accessible.name: text
                        }
                    }
                }
            }
        }
    }

    GlassSurface {
        id: loadingRow
        objectName: "linkLoadingRow"
        width: root.width
        cornerRadius: 14
        implicitHeight: loadingContent.implicitHeight + 24
        visible: root.kind === "loading"

        Row {
            id: loadingContent
            x: 12
            anchors.verticalCenter: parent.verticalCenter
            spacing: 8

            BusyIndicator {
                width: 22
                height: 22
                running: loadingRow.visible
                anchors.verticalCenter: parent.verticalCenter
                Accessible.ignored: true
            }

            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("Loading preview…")
                textFormat: Text.PlainText
                font.pointSize: Theme.subheadSize
                color: Theme.sunsetMuted
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
    }
}
