import QtQuick
import QtQuick.Layouts
import Corvane.Design

// Every control of the design system in its states, on the window-wide sunset backdrop.
Item {
    id: gallery

    implicitWidth: 1200
    implicitHeight: 820

    readonly property url thumbnail: Qt.resolvedUrl("thumbnail.svg")

    component Caption: Text {
        textFormat: Text.PlainText
        Accessible.name: text.charAt(0) + text.slice(1).toLowerCase()
        font.pixelSize: 10
        font.bold: true
        font.letterSpacing: 0.6
        color: Theme.sunsetMuted
    }

    component Note: Text {
        textFormat: Text.PlainText
        Accessible.name: text
        font.pixelSize: 11
        color: Theme.sunsetFaint
    }

    component SampleRow: Item {
        id: row
        property int index
        property string group
        property string colorHex
        property string title
        property string subtitle
        property bool selected
        property bool pinned
        Layout.fillWidth: true
        implicitWidth: 300
        implicitHeight: 46
        Accessible.role: Accessible.ListItem
        Accessible.name: title
        Accessible.description: subtitle

        StaggeredAppear {
            anchors.fill: parent
            index: row.index
            HoverLift {
                anchors.fill: parent
                radius: 12
                Rectangle {
                    anchors.fill: parent
                    radius: 12
                    color: row.selected ? Theme.sunsetPanelStrong : Theme.sunsetPanel
                    border.width: 1
                    border.color: Theme.sunsetStroke
                    SelectionBar {
                        x: 4; y: 8
                        height: parent.height - 16
                        isSelected: row.selected
                    }
                    RowLayout {
                        anchors.fill: parent
                        anchors.leftMargin: 14
                        anchors.rightMargin: 8
                        spacing: 10
                        ClipLeadingVisual {
                            group: row.group
                            colorHex: row.colorHex
                            thumbnail: row.group === "image" ? gallery.thumbnail : ""
                            size: row.group === "color" ? 30 : 24
                        }
                        ColumnLayout {
                            spacing: 1
                            Layout.fillWidth: true
                            Text {
                                text: row.title; textFormat: Text.PlainText
                                font.pixelSize: 13; font.weight: Font.Medium; color: Theme.sunsetInk
                                elide: Text.ElideRight; Layout.fillWidth: true
                            }
                            Text {
                                text: row.subtitle; textFormat: Text.PlainText
                                font.pixelSize: 11; color: Theme.sunsetMuted
                            }
                        }
                        PinButton { isPinned: row.pinned }
                        CopyButton { help: "Copy" }
                    }
                }
            }
        }
    }

    WindowSunset {
        anchors.fill: parent
    }

    RowLayout {
        anchors.fill: parent
        anchors.margins: 24
        spacing: 20

        // Sidebar-like column: glass, group dots, tags.
        GlassSurface {
            Layout.preferredWidth: 230
            Layout.fillHeight: true
            cornerRadius: 18

            ColumnLayout {
                anchors.fill: parent
                anchors.margins: 16
                spacing: 8

                RowLayout {
                    spacing: 8
                    BreathingDot {}
                    Text {
                        text: "Recording"; textFormat: Text.PlainText; Accessible.name: text
                        font.pixelSize: 12; font.weight: Font.DemiBold; color: Theme.sunsetInk
                    }
                }
                Caption { text: "GROUPS"; Layout.topMargin: 8 }
                Repeater {
                    model: GroupStyle.allCases
                    delegate: RowLayout {
                        required property string modelData
                        required property int index
                        spacing: 10
                        PoppingGroupDot { group: modelData; index: index }
                        IconImage { iconName: GroupStyle.symbol(modelData); color: Theme.sunsetMuted; size: 14 }
                        Text {
                            text: GroupStyle.displayName(modelData); textFormat: Text.PlainText; Accessible.name: text
                            font.pixelSize: 13; color: Theme.sunsetInk
                        }
                    }
                }
                Caption { text: "TAGS"; Layout.topMargin: 8 }
                Row {
                    spacing: 6
                    Repeater {
                        model: 7
                        delegate: Rectangle {
                            required property int index
                            width: 12; height: 12; radius: 6
                            color: Theme.tagColor(index)
                        }
                    }
                }
                Caption { text: "APP ICONS"; Layout.topMargin: 8 }
                Row {
                    spacing: 10
                    AppIconView { source: gallery.thumbnail; size: 18 }
                    AppIconView { size: 18 }
                    AppIconView { size: 32 }
                }
                Item { Layout.fillHeight: true }
            }
        }

        // List column: search, tabs, rows, empty state.
        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            spacing: 12

            RowLayout {
                spacing: 12
                SunsetSearchField {
                    Layout.preferredWidth: 330
                    placeholder: "Search · type:link · app:firefox · today"
                }
                SunsetSearchField {
                    Layout.preferredWidth: 200
                    text: "invoice"
                }
            }
            SunsetTabBar {
                groups: ["link", "code", "color", "image", "text"]
            }
            SunsetTabBar {
                groups: ["link", "code", "color", "image", "text"]
                selection: "code"
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: 6
                Accessible.role: Accessible.List
                Accessible.name: "Clips"
                SampleRow { index: 0; group: "link"; title: "https://corvane.app/download"; subtitle: "Link · 2 min ago"; selected: true; pinned: true }
                SampleRow { index: 1; group: "color"; colorHex: "#FF5E3A"; title: "#FF5E3A"; subtitle: "Color · 5 min ago" }
                SampleRow { index: 2; objectName: "hoveredRow"; group: "image"; title: "Screenshot 1280 × 800"; subtitle: "Image · 1 h ago" }
                SampleRow { index: 3; group: "code"; title: "git rebase --onto main feature"; subtitle: "Code · yesterday" }
                SampleRow { index: 4; group: "secret"; title: "••••••••••••"; subtitle: "Secret · yesterday" }
            }
            SunsetEmptyState {
                Layout.fillWidth: true
                Layout.fillHeight: true
                systemImage: "doc.on.clipboard"
                message: "Copy anything and it appears here."
            }
        }

        // Inspector column: frosted card, buttons, icon buttons.
        ColumnLayout {
            Layout.preferredWidth: 300
            Layout.fillHeight: true
            spacing: 16

            FrostedCard {
                Layout.fillWidth: true
                ColumnLayout {
                    width: parent.width
                    spacing: 8
                    RowLayout {
                        spacing: 10
                        GroupDot { group: "link"; size: 10 }
                        Text {
                            text: "Link"; textFormat: Text.PlainText; Accessible.name: text
                            font.pixelSize: 15; font.weight: Font.DemiBold; color: Theme.sunsetInk
                        }
                        Item { Layout.fillWidth: true }
                        IconImage { iconName: "pin.fill"; color: Theme.sunsetAccent; size: 14 }
                    }
                    RowLayout {
                        spacing: 6
                        AccentIcon { iconName: "sparkles"; size: 14 }
                        Caption { text: "AI SUMMARY" }
                    }
                    RowLayout {
                        spacing: 10
                        IconImage { iconName: "globe"; color: Theme.colorFromHex("7AA8E8"); size: 22 }
                        Text {
                            text: "corvane.app/download"; textFormat: Text.PlainText; Accessible.name: text
                            font.family: "monospace"; font.pixelSize: 11; color: Theme.sunsetMuted
                        }
                    }
                }
            }

            FrostedCard {
                Layout.fillWidth: true
                ColumnLayout {
                    width: parent.width
                    spacing: 8
                    SunsetPrimaryButtonStyle { text: "Copy to Clipboard"; systemImage: "doc.on.doc" }
                    SunsetPrimaryButtonStyle { text: "Pressed"; down: true }
                    SunsetSecondaryButtonStyle { text: "Add to Stack"; systemImage: "square.stack.3d.up" }
                    SunsetSecondaryButtonStyle { text: "Unpin"; systemImage: "pin.slash" }
                    SunsetSecondaryButtonStyle { text: "Delete"; systemImage: "trash"; isDestructive: true }
                }
            }

            GlassSurface {
                Layout.fillWidth: true
                Layout.preferredHeight: 124
                cornerRadius: 14
                GridLayout {
                    anchors.fill: parent
                    anchors.margins: 12
                    columns: 4
                    rowSpacing: 2
                    columnSpacing: 10
                    PinButton {}
                    PinButton { isPinned: true }
                    CopyButton { help: "Copy" }
                    CopyButton { help: "Copy"; copied: true }
                    Note { text: "pin" }
                    Note { text: "pinned" }
                    Note { text: "copy" }
                    Note { text: "copied" }
                    RevealButton {}
                    RevealButton { isRevealed: true }
                    RowActionButton { systemImage: "square.and.arrow.up"; help: "Share" }
                    RowActionButton { systemImage: "trash"; help: "Delete"; isDestructive: true }
                    Note { text: "reveal" }
                    Note { text: "hide" }
                    Note { text: "action" }
                    Note { text: "destructive" }
                }
            }

            PressableStyle {
                id: galleryChip
                Layout.alignment: Qt.AlignHCenter
                text: "Code chip in PressableStyle"
                leftPadding: 10
                rightPadding: 10
                implicitHeight: 24
                background: Rectangle { radius: height / 2; gradient: SunsetAccentGradient {} }
                contentItem: Row {
                    spacing: 5
                    GroupDot { anchors.verticalCenter: parent.verticalCenter; group: "code"; size: 6 }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: galleryChip.text; textFormat: Text.PlainText
                        font.pixelSize: 12; font.weight: Font.DemiBold; color: Theme.sunsetOnAccent
                    }
                }
            }
            Item { Layout.fillHeight: true }
        }
    }
}
