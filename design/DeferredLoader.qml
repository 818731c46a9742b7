import QtQuick

// Makes its item in the background once the window has shown its first frame, or at once when
// `needed` turns on before that: heavy parts that don't show at first don't hold that frame up.
Loader {
    id: loader

    property bool needed: false

    active: needed || firstFrame.open
    // Turning `needed` on while the background build runs finishes it at once.
    asynchronous: !needed

    FirstFrameGate {
        id: firstFrame
        item: loader
    }
}
