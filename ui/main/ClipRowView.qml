import QtQuick
import QtQuick.Controls
import Qt5Compat.GraphicalEffects
import Corvane.Engine
import Corvane.Ui
import Corvane.Design

// One clip of the main list: leading picture, highlighted title, caption, source and age, and
// under the pointer copy, pin and delete. Click / Ctrl-click / Shift-click select, a double click
// copies, a drag exports, a secondary click opens the clip menu, and the newest clip glows.
// Its height follows from the clip's kind alone, so the list never re-lays out while scrolling.
Item {
    id: row

    required property int index
    required property var clipId
    required property string group
    required property string title
    required property string colorHex
    required property string subtitle
    required property string summary
    required property string note
    required property bool isPinned
    required property var tags
    required property string thumbnailUrl
    required property bool hasThumbnail
    required property string sourceKey
    required property string sourceName
    required property double createdAt
    required property bool isSecret
    required property bool isRevealed
    required property bool isSelected
    required property int sectionId

    property ClipboardStore store: ClipboardStore
    property ClipListController controller: null
    property var now: new Date()
    property var terms: []

    signal selected()
    signal menuRequested()
    signal dragRequested(var ids, Item source)

    readonly property var presented: {
        row.title; row.subtitle; row.summary; row.hasThumbnail; row.note
        return ClipRowRules.present(row.store, row.clipId, row.isRevealed, ClipRowRules.cardsRevision)
    }
    readonly property string leadingKind: presented.leading || "visual"
    readonly property bool monospaced: ClipRowRules.monospaced(group)
    readonly property int titleLines: ClipRowRules.titleLines(group)
    readonly property bool hovering: lift.hovered
    property bool glowing: false

    width: ListView.view ? ListView.view.width - 40 : 600
    height: leadingKind === "thumbnail" ? 116 : titleLines === 2 ? 74 : 56
    x: 20

    Accessible.role: Accessible.ListItem
    Accessible.name: presented.title || ""
    Accessible.selected: isSelected

    function startGlow() {
        glowing = true
        glowTimer.restart()
    }
    Timer {
        id: glowTimer
        interval: 1400
        onTriggered: row.glowing = false
    }
    Component.onCompleted: if (store && store.lastAddedID === clipId) startGlow()
    ListView.onReused: {
        glowing = false
        if (store && store.lastAddedID === clipId)
            startGlow()
    }
    ListView.onPooled: {
        glowTimer.stop()
        glowing = false
    }
    Connections {
        target: row.store
        function onLastAddedIDChanged() {
            if (row.store.lastAddedID === row.clipId)
                row.startGlow()
        }
    }

    StaggeredAppear {
        anchors.fill: parent
        // Rows come in one after another from the top of their section.
        index: row.index - row.store.clipModel.sectionStart(row.sectionId)

        HoverLift {
            id: lift
            width: row.width
            height: row.height
            radius: 12

            Rectangle {
                id: card
                anchors.fill: parent
                radius: 12
                color: row.isSelected || row.hovering ? Theme.sunsetPanelStrong : Theme.sunsetPanel
                border.width: 1
                border.color: row.isSelected
                              ? Qt.rgba(Theme.sunsetAccent.r, Theme.sunsetAccent.g, Theme.sunsetAccent.b, 0.35)
                              : Theme.sunsetStroke
                Behavior on color { enabled: !Motion.reduceMotion; ColorAnimation { duration: Animations.hover.duration } }

                SelectionBar {
                    x: 4
                    y: 10
                    height: parent.height - 20
                    isSelected: row.isSelected
                }

                // The glow of the newest clip: an accent stroke with a pink shadow. Effects are
                // made only while they show: every row making its own holds the list up.
                Loader {
                    anchors.fill: parent
                    z: -1
                    active: glow.visible
                    sourceComponent: RectangularGlow {
                        glowRadius: 8
                        cornerRadius: 12 + glowRadius
                        color: Qt.rgba(Theme.sunsetPink.r, Theme.sunsetPink.g, Theme.sunsetPink.b, 0.3)
                        opacity: glow.opacity // qmllint disable unqualified
                    }
                }
                Rectangle {
                    id: glow
                    anchors.fill: parent
                    radius: 12
                    color: "transparent"
                    border.width: 2
                    border.color: Theme.sunsetAccent
                    opacity: row.glowing ? 1 : 0
                    visible: opacity > 0
                    Behavior on opacity {
                        enabled: !Motion.reduceMotion
                        NumberAnimation { duration: row.glowing ? Animations.selection.duration : 600; easing.type: Easing.OutQuad }
                    }
                }

                Item {
                    id: leading
                    x: 14
                    anchors.verticalCenter: parent.verticalCenter
                    width: row.leadingKind === "thumbnail" ? (row.presented.thumbnailWidth || 96)
                           : row.leadingKind === "app" ? 34 : 28
                    height: row.leadingKind === "thumbnail" ? 96 : width

                    Image {
                        id: thumb
                        anchors.fill: parent
                        visible: false
                        source: row.leadingKind === "thumbnail" ? row.thumbnailUrl : ""
                        sourceSize: Qt.size(leading.width * 2, 192) // qmllint disable type
                        fillMode: Image.PreserveAspectCrop
                        asynchronous: true
                    }
                    Image {
                        id: appIcon
                        anchors.fill: parent
                        visible: false
                        source: row.leadingKind === "app" ? (row.presented.appIcon || "") : ""
                        sourceSize: Qt.size(68, 68) // qmllint disable type
                        fillMode: Image.PreserveAspectFit
                        asynchronous: true
                    }
                    Rectangle {
                        id: pictureShape
                        anchors.fill: parent
                        radius: row.leadingKind === "app" ? 8 : 10
                        visible: false
                    }
                    Loader {
                        anchors.fill: parent
                        active: row.leadingKind === "thumbnail" || row.leadingKind === "app"
                        visible: row.leadingKind === "thumbnail" || (row.leadingKind === "app" && appIcon.status === Image.Ready)
                        sourceComponent: OpacityMask {
                            // qmllint disable unqualified
                            source: row.leadingKind === "thumbnail" ? thumb : appIcon
                            maskSource: pictureShape
                            // qmllint enable unqualified
                        }
                    }
                    Rectangle {
                        anchors.fill: parent
                        visible: row.leadingKind === "thumbnail"
                        radius: 10
                        color: "transparent"
                        border.width: 1
                        border.color: Theme.sunsetStroke
                    }
                    IconImage {
                        anchors.centerIn: parent
                        visible: row.leadingKind === "app" && appIcon.status !== Image.Ready
                        iconName: "app.badge"
                        color: Theme.sunsetMuted
                        size: 24
                        // The app's card is asked for only when its badge is shown.
                        Component.onCompleted: if (visible) ClipRowRules.loadCard(row.store, row.clipId)
                    }
                    ClipLeadingVisual {
                        anchors.fill: parent
                        visible: row.leadingKind === "visual"
                        group: row.group
                        colorHex: row.colorHex
                        size: 28
                    }
                }

                Column {
                    id: texts
                    x: leading.x + leading.width + 14
                    width: trailing.x - x - 8 - (reveal.visible ? reveal.width + 8 : 0)
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: 4

                    Row {
                        width: parent.width
                        spacing: 6
                        HighlightedText {
                            id: titleText
                            objectName: "rowTitle"
                            width: parent.width - (pinMark.visible ? pinMark.width + 6 : 0)
                                   - (dots.visible ? dots.width + 6 : 0)
                            // At most its line limit; the row's own height never depends on it.
                            height: Math.min(implicitHeight, row.titleLines === 2 ? 36 : 18)
                            text: row.presented.title || ""
                            terms: row.terms
                            maximumLineCount: row.titleLines
                            font.family: row.monospaced ? Theme.monospaceFamily : Application.font.family
                            font.pointSize: row.monospaced ? Theme.bodySize : Theme.listTitleSize
                            font.weight: row.monospaced ? Font.Normal : Font.Medium
                            Behavior on opacity { enabled: !Motion.reduceMotion; NumberAnimation { duration: Animations.reveal.duration } }
                        }
                        IconImage {
                            id: pinMark
                            visible: row.isPinned
                            iconName: "pin.fill"
                            color: Theme.sunsetAccent
                            size: 10
                        }
                        TagDots {
                            id: dots
                            visible: row.tags.length > 0
                            tags: row.tags
                            size: 8
                        }
                    }
                    Row {
                        width: parent.width
                        spacing: 5
                        IconImage {
                            visible: row.presented.captionIsSummary === true
                            anchors.verticalCenter: parent.verticalCenter
                            iconName: "sparkles"
                            color: Theme.sunsetAccent
                            size: 11
                            ToolTip.text: qsTr("Summary")
                        }
                        Text {
                            id: groupLabel
                            visible: !row.presented.captionIsSummary
                            text: (row.presented.captionGroup || "") + "  ·"
                            Accessible.name: row.presented.captionGroup || ""
                            textFormat: Text.PlainText
                            font.pointSize: Theme.footnoteSize
                            color: Theme.sunsetMuted
                        }
                        Text {
                            width: parent.width - (groupLabel.visible ? groupLabel.width + 5 : 16)
                            text: row.presented.captionText || ""
                            Accessible.name: text
                            textFormat: Text.PlainText
                            elide: Text.ElideRight
                            maximumLineCount: 1
                            font.pointSize: Theme.footnoteSize
                            color: Theme.sunsetMuted
                        }
                    }
                }

                RevealButton {
                    id: reveal
                    visible: row.isSecret
                    x: trailing.x - width - 8
                    anchors.verticalCenter: parent.verticalCenter
                    isRevealed: row.isRevealed
                    onClicked: row.store.reveal(row.clipId)
                }

                Item {
                    id: trailing
                    x: parent.width - 14 - width
                    width: 112
                    height: parent.height

                    Row {
                        id: info
                        anchors.right: parent.right
                        anchors.verticalCenter: parent.verticalCenter
                        spacing: 6
                        opacity: row.hovering ? 0 : 1
                        visible: opacity > 0
                        Behavior on opacity { enabled: !Motion.reduceMotion; NumberAnimation { duration: Animations.hover.duration } }
                        Column {
                            anchors.verticalCenter: parent.verticalCenter
                            spacing: 2
                            Text {
                                anchors.right: parent.right
                                width: Math.min(implicitWidth, 112 - 24)
                                horizontalAlignment: Text.AlignRight
                                text: row.sourceName
                                Accessible.name: text
                                textFormat: Text.PlainText
                                elide: Text.ElideRight
                                font.pointSize: Theme.footnoteSize
                                color: Theme.sunsetMuted
                            }
                            Text {
                                objectName: "rowAge"
                                anchors.right: parent.right
                                text: ClipRowRules.age(row.store, row.createdAt, row.now)
                                Accessible.name: text
                                textFormat: Text.PlainText
                                font.pointSize: Theme.captionSize
                                color: Theme.sunsetFaint
                            }
                        }
                        SourceIconView {
                            anchors.verticalCenter: parent.verticalCenter
                            key: row.sourceKey
                            size: 18
                            store: row.store
                        }
                    }

                    // Made while the pointer is over the row.
                    Loader {
                        anchors.right: parent.right
                        anchors.verticalCenter: parent.verticalCenter
                        opacity: row.hovering ? 1 : 0
                        visible: opacity > 0
                        active: visible
                        Behavior on opacity { enabled: !Motion.reduceMotion; NumberAnimation { duration: Animations.hover.duration } }
                        // qmllint disable unqualified
                        sourceComponent: Row {
                            spacing: 4
                            CopyButton {
                                objectName: "rowCopy"
                                help: qsTr("Copy (%1)").arg(KeyLegends.copy)
                                onClicked: row.store.copy(row.clipId, false)
                            }
                            PinButton {
                                objectName: "rowPin"
                                isPinned: row.isPinned
                                onClicked: row.store.togglePin(row.clipId)
                            }
                            RowActionButton {
                                objectName: "rowDelete"
                                systemImage: "trash"
                                help: qsTr("Delete (%1)").arg(KeyLegends.remove)
                                isDestructive: true
                                onClicked: row.store.deleteClip(row.clipId)
                            }
                        }
                        // qmllint enable unqualified
                    }
                }
            }

            TapHandler {
                acceptedButtons: Qt.LeftButton
                // The first click of a double click selects; the second only copies.
                onTapped: {
                    if (tapCount === 1) {
                        row.controller.click(row.clipId, point.modifiers)
                        row.selected()
                    }
                }
                onDoubleTapped: row.store.copy(row.clipId, false)
            }
            TapHandler {
                acceptedButtons: Qt.RightButton
                onTapped: row.menuRequested()
            }
            DragHandler {
                target: null
                onActiveChanged: if (active) row.dragRequested(row.controller.dragIds(row.clipId), row)
            }
        }
    }
}
