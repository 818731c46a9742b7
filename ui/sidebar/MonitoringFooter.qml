import QtQuick
import Qt5Compat.GraphicalEffects
import Corvane.Design

// "Monitoring clipboard" with the numbers of clips and pinned clips on a frosted band; rows that
// scroll under it are blurred, with a soft upper edge. The words stay the same while paused.
Item {
    id: footer

    property string countsLine
    // What scrolls under the footer, a sibling at the same x (the sidebar's list).
    property Item behind: null

    implicitHeight: card.implicitHeight + 8 + 10

    Item {
        id: frost
        anchors.fill: parent
        visible: false

        // The card's own surface first, so the frost hides the sharp rows under it.
        WindowSunset {
            anchors.fill: parent
            visible: !Motion.reduceTransparency
        }
        Rectangle {
            anchors.fill: parent
            color: Qt.rgba(1, 1, 1, 1 - (1 - 0.25) * (1 - 0.42))
        }
        ShaderEffectSource {
            id: under
            anchors.fill: parent
            visible: false
            sourceItem: footer.behind
            sourceRect: footer.behind ? Qt.rect(footer.x - footer.behind.x, footer.y - footer.behind.y,
                                                footer.width, footer.height)
                                      : Qt.rect(0, 0, 0, 0)
            live: true
        }
        FastBlur {
            anchors.fill: parent
            source: under
            radius: 24
            visible: footer.behind !== null && !Motion.reduceTransparency
        }
        Rectangle {
            anchors.fill: parent
            color: Motion.reduceTransparency ? Qt.tint(Theme.sunsetCream, Qt.rgba(1, 1, 1, 0.75))
                                             : Qt.rgba(1, 1, 1, 0.35)
        }
    }
    LinearGradient {
        id: fade
        anchors.fill: parent
        visible: false
        start: Qt.point(0, 0)
        end: Qt.point(0, height / 4)
        gradient: Gradient {
            GradientStop { position: 0; color: "transparent" }
            GradientStop { position: 1; color: "black" }
        }
    }
    OpacityMask {
        anchors.fill: parent
        source: frost
        maskSource: fade
        visible: firstFrame.open
    }
    // The frost's offscreen passes wait for the window's first frame, which they would hold up;
    // until then the band is plain.
    Rectangle {
        anchors.fill: parent
        visible: !firstFrame.open
        color: Qt.tint(Theme.sunsetCream, Qt.rgba(1, 1, 1, 0.75))
    }
    FirstFrameGate {
        id: firstFrame
        item: footer
    }

    Rectangle {
        id: card
        objectName: "monitoringCard"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.leftMargin: 10
        anchors.rightMargin: 10
        anchors.bottomMargin: 10
        implicitHeight: row.implicitHeight + 20
        radius: 12
        color: Qt.rgba(1, 1, 1, 0.7)
        border.width: 1
        border.color: Qt.rgba(1, 1, 1, 0.9)

        Accessible.role: Accessible.StaticText
        Accessible.name: qsTr("Monitoring clipboard") + ", " + footer.countsLine

        Row {
            id: row
            x: 16
            y: 10
            width: card.width - 32
            spacing: 8

            BreathingDot {
                objectName: "breathingDot"
                anchors.verticalCenter: parent.verticalCenter
            }
            Column {
                anchors.verticalCenter: parent.verticalCenter
                width: row.width - 22
                spacing: 1
                Text {
                    text: qsTr("Monitoring clipboard")
                    color: Theme.sunsetInk
                    font.pointSize: Theme.subheadSize
                    font.weight: Font.Medium
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
                Text {
                    id: counts
                    objectName: "countsLine"
                    width: parent.width
                    text: footer.countsLine
                    textFormat: Text.PlainText
                    color: Theme.sunsetMuted
                    font.pointSize: Theme.footnoteSize
                    elide: Text.ElideRight
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    // The numbers roll in: a short rise and fade on every change.
                    onTextChanged: if (!Motion.reduceMotion) roll.restart()
                    transform: Translate { id: shift }
                    SequentialAnimation {
                        id: roll
                        PropertyAction { target: shift; property: "y"; value: 4 }
                        PropertyAction { target: counts; property: "opacity"; value: 0.3 }
                        ParallelAnimation {
                            NumberAnimation {
                                target: shift; property: "y"; to: 0
                                duration: Animations.selection.duration; easing: Animations.selection.easing
                            }
                            NumberAnimation {
                                target: counts; property: "opacity"; to: 1
                                duration: Animations.selection.duration; easing: Animations.selection.easing
                            }
                        }
                    }
                }
            }
        }
    }
}
