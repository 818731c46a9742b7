import QtQuick
import Corvane.Design

// A warning over the list: the triangle, which bounces once per new notice, and the message.
GlassSurface {
    id: banner

    property string message
    property string noticeId

    cornerRadius: 12
    implicitHeight: Math.max(16, messageText.implicitHeight) + 20

    Accessible.role: Accessible.AlertMessage
    Accessible.name: message

    onNoticeIdChanged: if (noticeId.length > 0 && !Motion.reduceMotion) bounce.restart()

    Row {
        x: 14
        width: parent.width - 28
        anchors.verticalCenter: parent.verticalCenter
        spacing: 8
        IconImage {
            id: triangle
            anchors.verticalCenter: parent.verticalCenter
            iconName: "exclamationmark.triangle.fill"
            color: Theme.sunsetAccent
            size: 14
            SequentialAnimation {
                id: bounce
                NumberAnimation { target: triangle; property: "scale"; to: 1.3; duration: 120; easing.type: Easing.OutQuad }
                NumberAnimation { target: triangle; property: "scale"; to: 1; duration: 220; easing.type: Easing.OutBack }
            }
        }
        Text {
            id: messageText
            objectName: "noticeMessage"
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - triangle.width - 8
            text: banner.message
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            font.pointSize: Theme.subheadSize
            color: Theme.sunsetInk
        }
    }
}
