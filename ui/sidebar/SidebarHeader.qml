import QtQuick
import Corvane.Design

// The app icon and wordmark above the greeting card. On first showing they spring into place;
// under reduce motion they are drawn settled from the start.
Item {
    id: header

    // 0 before the entrance, 1 settled.
    property real settle: Motion.reduceMotion ? 1 : 0
    readonly property var spring: Animations.spring(0.55, 0.62)

    implicitHeight: column.implicitHeight + 18 + 10

    Column {
        id: column
        x: 16
        y: 18
        width: header.width - 32
        spacing: 14

        Row {
            spacing: 10
            height: 30
            AppIconMark {
                anchors.verticalCenter: parent.verticalCenter
                size: 30
                scale: 0.6 + 0.4 * header.settle
                rotation: -12 * (1 - header.settle)
            }
            Wordmark {
                anchors.verticalCenter: parent.verticalCenter
                pixelSize: 18
                opacity: header.settle
                transform: Translate { x: -6 * (1 - header.settle) }
            }
        }
        GreetingCard {
            objectName: "greetingCard"
            width: column.width
            opacity: header.settle
            transform: Translate { y: 6 * (1 - header.settle) }
        }
    }

    NumberAnimation {
        id: entrance
        target: header
        property: "settle"
        from: 0
        to: 1
        duration: header.spring.duration
        easing: header.spring.easing
    }

    Component.onCompleted: {
        if (Motion.reduceMotion)
            settle = 1
        else
            entrance.start()
    }
}
