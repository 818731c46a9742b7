import QtQuick
import QtQuick.Templates as T
import Qt5Compat.GraphicalEffects
import Corvane.Design

// One application: its icon (or "app.dashed"), name, subtitle and one action link.
GlassSurface {
    id: root

    property url icon
    property string name
    property string subtitle
    property string actionTitle
    signal action()

    cornerRadius: 14
    implicitWidth: 320
    implicitHeight: Math.max(iconFrame.height, texts.implicitHeight) + 28

    Accessible.role: Accessible.Grouping
    Accessible.name: root.name

    Item {
        id: iconFrame
        x: 14
        anchors.verticalCenter: parent.verticalCenter
        width: 64
        height: 64

        Image {
            id: picture
            anchors.fill: parent
            visible: false
            source: root.icon
            sourceSize: Qt.size(128, 128)
            fillMode: Image.PreserveAspectCrop
            smooth: true
            mipmap: true
        }

        Rectangle {
            id: corners
            anchors.fill: parent
            radius: 14
            visible: false
        }

        OpacityMask {
            id: roundedIcon
            anchors.fill: parent
            visible: picture.status === Image.Ready
            source: picture
            maskSource: corners
            layer.enabled: true
            layer.effect: DropShadow {
                color: Qt.alpha(Theme.sunsetInk, 0.15)
                radius: 4
                samples: 9
                verticalOffset: 2
                transparentBorder: true
            }
        }

        IconImage {
            anchors.centerIn: parent
            visible: picture.status !== Image.Ready
            iconName: "app.dashed"
            color: Theme.sunsetFaint
            size: 40
        }
    }

    Column {
        id: texts
        anchors.left: iconFrame.right
        anchors.leftMargin: 14
        anchors.right: parent.right
        anchors.rightMargin: 14
        anchors.verticalCenter: parent.verticalCenter
        spacing: 4

        Text {
            width: parent.width
            text: root.name
            textFormat: Text.PlainText
            font.pointSize: Theme.title3Size
            font.bold: true
            color: Theme.sunsetInk
            wrapMode: Text.Wrap
            maximumLineCount: 2
            elide: Text.ElideRight
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        Text {
            width: parent.width
            text: root.subtitle
            textFormat: Text.PlainText
            font.pointSize: Theme.footnoteSize
            color: Theme.sunsetMuted
            maximumLineCount: 1
            elide: Text.ElideRight
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }

        T.AbstractButton {
            id: link
            objectName: "appCardAction"
            implicitWidth: linkText.implicitWidth
            implicitHeight: linkText.implicitHeight
            hoverEnabled: true
            focusPolicy: Qt.TabFocus
            Accessible.role: Accessible.Link
            Accessible.name: root.actionTitle
            onClicked: root.action()

            contentItem: Text {
                id: linkText
                text: root.actionTitle
                textFormat: Text.PlainText
                font.pointSize: Theme.subheadSize
                font.weight: Font.Medium
                font.underline: link.hovered || link.visualFocus
                color: Theme.sunsetIndigo
            }
        }
    }
}
