import QtQuick
import QtTest
import Corvane.Design

Item {
    width: 300
    height: 100

    CopyButton { id: copy; help: "Copy" }
    PinButton { id: pin; x: 40 }
    RevealButton { id: reveal; x: 80 }
    RowActionButton { id: remove; x: 120; systemImage: "trash"; help: "Delete"; isDestructive: true }

    SignalSpy { id: copyClicks; target: copy; signalName: "clicked" }

    TestCase {
        name: "Buttons"
        when: windowShown

        function test_copyShowsTheCheckmarkForOnePointTwoSeconds() {
            compare(copy.iconName, "doc.on.doc")
            mouseClick(copy)
            compare(copyClicks.count, 1)
            verify(copy.copied)
            compare(copy.iconName, "checkmark")
            compare(copy.iconColor, Theme.sunsetGreen)
            compare(copy.markTimer.interval, 1200)
            verify(copy.markTimer.running)
            copy.markTimer.triggered()
            verify(!copy.copied)
            compare(copy.iconName, "doc.on.doc")
        }

        function test_pinHelpNamesTheShortcut() {
            pin.isPinned = false
            compare(pin.help, "Pin (Ctrl+P)")
            compare(pin.iconName, "pin")
            pin.isPinned = true
            compare(pin.help, "Unpin (Ctrl+P)")
            compare(pin.iconName, "pin.fill")
            compare(pin.iconColor, Theme.sunsetAccent)
        }

        function test_revealAndDestructiveActions() {
            compare(reveal.help, "Reveal")
            compare(reveal.iconName, "eye")
            reveal.isRevealed = true
            compare(reveal.help, "Hide")
            compare(reveal.iconName, "eye.slash")
            compare(remove.iconColor, Theme.sunsetDanger)
        }
    }
}
