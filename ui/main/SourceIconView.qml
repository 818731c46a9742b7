import QtQuick
import Qt5Compat.GraphicalEffects
import Corvane.Engine
import Corvane.Design

// The small icon of a clip's source: the cached icon, a globe for a website without one, or the
// app's own fallback. Asking the provider starts loading a missing icon; the revision in the
// address redraws the view when it arrives.
Item {
    id: root

    property string key
    property real size: 18
    property ClipboardStore store: ClipboardStore

    readonly property bool isWeb: key.startsWith("web:")
    readonly property url iconSource: key.length === 0 ? ""
        : "image://source/" + encodeURIComponent(key) + "?rev=" + (store ? store.iconRevision : 0)

    implicitWidth: size
    implicitHeight: size
    Accessible.ignored: true

    Image {
        id: webIcon
        anchors.fill: parent
        visible: false
        source: root.isWeb ? root.iconSource : ""
        sourceSize: Qt.size(Math.ceil(root.size * 2), Math.ceil(root.size * 2)) // qmllint disable type
        fillMode: Image.PreserveAspectCrop
        smooth: true
        asynchronous: true
    }

    Rectangle {
        id: corners
        anchors.fill: parent
        radius: root.size * 0.22
        visible: false
    }

    // Made once there is an icon to round: most rows show an app's icon or the globe.
    Loader {
        anchors.fill: parent
        active: root.isWeb && webIcon.status === Image.Ready
        sourceComponent: OpacityMask {
            source: webIcon // qmllint disable unqualified
            maskSource: corners // qmllint disable unqualified
        }
    }

    IconImage {
        anchors.centerIn: parent
        visible: root.isWeb && webIcon.status !== Image.Ready
        iconName: "globe"
        color: Theme.sunsetMuted
        size: root.size * 0.75
    }

    AppIconView {
        anchors.fill: parent
        visible: !root.isWeb
        source: root.isWeb ? "" : root.iconSource
        size: root.size
    }
}
