import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Qt5Compat.GraphicalEffects
import Corvane.Design
import Corvane.Ui

// The first-run tour: a sheet that greets the user by first name and walks through the main
// features a page at a time. Return presses the primary button, Escape dismisses. It only pages
// and closes; `dismissed` tells the presenter, which records that the tour was shown.
Popup {
    id: sheet
    objectName: "welcomeSheet"

    readonly property WelcomeTourModel tour: tourModel

    signal dismissed()

    anchors.centerIn: Overlay.overlay
    width: 500
    padding: 26
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape

    WelcomeTourModel {
        id: tourModel
        onDismissRequested: sheet.close()
        onPageChanged: sheet.showPage(Motion.reduceMotion ? StackView.Immediate : StackView.Transition)
    }

    onAboutToShow: {
        tourModel.restart()
        showPage(StackView.Immediate)
    }
    onClosed: dismissed()

    function showPage(operation) {
        if (tourModel.isWelcomePage)
            stack.replace(null, welcomePage, {}, operation)
        else
            stack.replace(null, stepPage, { step: tourModel.step }, operation)
    }

    Overlay.modal: Rectangle { color: Qt.rgba(0.12, 0.1, 0.18, 0.28) }

    background: Item {
        RectangularGlow {
            anchors.fill: parent
            anchors.topMargin: 8
            glowRadius: 20
            cornerRadius: 36
            color: Qt.rgba(0, 0, 0, 0.18)
        }
        Rectangle {
            id: shape
            anchors.fill: parent
            radius: 16
            visible: false
        }
        SunsetBackground {
            id: backdrop
            anchors.fill: parent
            visible: false
        }
        OpacityMask {
            anchors.fill: parent
            source: backdrop
            maskSource: shape
        }
    }

    contentItem: FocusScope {
        implicitWidth: column.implicitWidth
        implicitHeight: column.implicitHeight
        focus: true

        Accessible.role: Accessible.Dialog
        Accessible.name: qsTr("Welcome Tour")

        Keys.onReturnPressed: tourModel.primary()
        Keys.onEnterPressed: tourModel.primary()

        ColumnLayout {
            id: column
            anchors.fill: parent
            spacing: 16

            RowLayout {
                spacing: 12
                Layout.fillWidth: true
                AppIconMark { size: 48 }
                Wordmark { pixelSize: 26 }
                Item { Layout.fillWidth: true }
                Text {
                    objectName: "skipTour"
                    visible: tourModel.showSkip
                    text: qsTr("Skip Tour")
                    color: skipHover.hovered ? Theme.sunsetInk : Theme.sunsetMuted
                    font.pointSize: Theme.bodySize
                    Accessible.role: Accessible.Button
                    Accessible.name: text
                    Accessible.onPressAction: tourModel.skip()
                    HoverHandler { id: skipHover; cursorShape: Qt.PointingHandCursor }
                    TapHandler { onTapped: tourModel.skip() }
                }
            }

            StackView {
                id: stack
                objectName: "tourPages"
                Layout.fillWidth: true
                Layout.preferredHeight: Math.max(250, currentItem ? currentItem.implicitHeight : 0)
                clip: true

                replaceEnter: Transition {
                    ParallelAnimation {
                        NumberAnimation {
                            property: "opacity"; from: 0; to: 1
                            duration: Animations.selection.duration; easing: Animations.selection.easing
                        }
                        NumberAnimation {
                            property: "x"; from: stack.width; to: 0
                            duration: Animations.selection.duration; easing: Animations.selection.easing
                        }
                    }
                }
                replaceExit: Transition {
                    NumberAnimation {
                        property: "opacity"; from: 1; to: 0
                        duration: Animations.selection.duration; easing: Animations.selection.easing
                    }
                }
            }

            RowLayout {
                Layout.fillWidth: true
                spacing: 10
                PageDots {
                    objectName: "pageDots"
                    count: tourModel.stepCount
                    lit: tourModel.litDot
                }
                Item { Layout.fillWidth: true }
                SunsetSecondaryButtonStyle {
                    objectName: "backButton"
                    visible: tourModel.showBack
                    text: qsTr("Back")
                    Layout.fillWidth: false
                    Layout.preferredWidth: 90
                    Accessible.role: Accessible.Button
                    Accessible.name: text
                    onClicked: tourModel.back()
                }
                SunsetPrimaryButtonStyle {
                    objectName: "primaryButton"
                    text: tourModel.primaryTitle
                    Layout.fillWidth: false
                    Layout.preferredWidth: tourModel.primaryWidth
                    Accessible.role: Accessible.Button
                    Accessible.name: text
                    onClicked: tourModel.primary()
                }
            }
        }
    }

    Component {
        id: welcomePage
        WelcomePage {
            welcomeLine: UserGreeting.welcomeLine()
            introText: tourModel.introText
            privacyRows: tourModel.privacyRows
        }
    }
    Component {
        id: stepPage
        TourStepPage {}
    }
}
