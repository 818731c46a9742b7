import QtQuick
import Corvane.Ui
import Corvane.Design

// Plain text with the matches of `terms` painted behind in the highlight colour. Clip text is
// drawn as it stands, never as markup. Set the font, colour, line limit and elide as on a Text.
HighlightedTextItem {
    color: Theme.sunsetInk
    highlightColor: Theme.sunsetHighlight
    maximumLineCount: 1
    elide: Qt.ElideRight
    // Painted, so it names itself: the plain text, as a Text would be read.
    Accessible.role: Accessible.StaticText
    Accessible.name: text
}
