import QtQuick
import Corvane.Engine
import Corvane.Ui

// A clip's content drawn the way its group suits: colour, link, secret, image or text. The small
// form sits in the inspector, the large one in Quick Look.
Item { // qmllint disable alias
    id: root

    property ClipboardStore store: ClipboardStore
    property alias clipId: preview.clipId
    property bool large: false
    readonly property ClipPreviewModel model: preview

    implicitWidth: 320
    implicitHeight: loader.item ? (loader.item as Item).implicitHeight : 0

    ClipPreviewModel {
        id: preview
        store: root.store
    }

    Loader {
        id: loader
        width: parent.width
        sourceComponent: {
            switch (preview.kind) {
            case "color": return colorPreview
            case "link": return linkPreview
            case "secret": return secretPreview
            case "image": return imagePreview
            case "text": return textPreview
            }
            return null
        }
    }

    // qmllint disable unqualified
    Component { id: colorPreview; ColorPreview { model: preview } }
    Component { id: linkPreview; LinkPreview { model: preview } }
    Component { id: secretPreview; SecretPreview { model: preview } }
    Component { id: imagePreview; ImagePreview { model: preview; store: root.store; large: root.large } }
    Component { id: textPreview; TextPreview { model: preview; large: root.large } }
    // qmllint enable unqualified
}
