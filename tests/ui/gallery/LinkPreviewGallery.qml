import QtQuick
import Corvane.Design
import Corvane.LinkPreview

// Every state of the link card side by side, over the window's backdrop.
Rectangle {
    id: root

    implicitWidth: 720
    implicitHeight: 640
    color: Theme.sunsetCream

    component Labelled: Column {
        property alias label: caption.text
        default property alias card: holder.data
        width: 330
        spacing: 6

        Text {
            id: caption
            Accessible.name: text
            font.pixelSize: 11
            color: Theme.sunsetMuted
            textFormat: Text.PlainText
        }
        Item {
            id: holder
            width: parent.width
            height: childrenRect.height
        }
    }

    Grid {
        x: 20
        y: 20
        columns: 2
        spacing: 20

        Labelled {
            label: "Loaded link"
            LinkPreviewCard { objectName: "articleCard"; width: 330; clipId: galleryIds.article; store: galleryStore; service: galleryService }
        }
        Labelled {
            label: "Video link"
            LinkPreviewCard { objectName: "videoCard"; width: 330; clipId: galleryIds.video; store: galleryStore; service: galleryService }
        }
        Labelled {
            label: "App Store link"
            LinkPreviewCard { objectName: "appCard"; width: 330; clipId: galleryIds.app; store: galleryStore; service: galleryService }
        }
        Labelled {
            label: "Slow page"
            LinkPreviewCard { objectName: "slowCard"; width: 330; clipId: galleryIds.slow; store: galleryStore; service: galleryService }
        }
        Labelled {
            label: "Missing page (no card)"
            LinkPreviewCard { objectName: "missingCard"; width: 330; clipId: galleryIds.missing; store: galleryStore; service: galleryService }
        }
        Labelled {
            label: "Title only, hostile text"
            LinkPreviewCard { objectName: "plainCard"; width: 330; clipId: galleryIds.plain; store: galleryStore; service: galleryService }
        }
    }
}
