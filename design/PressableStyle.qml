pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Templates as T
import Qt5Compat.GraphicalEffects
import Corvane.Design

// A button that shrinks a little and darkens while pressed; the shrink is skipped under reduce
// motion. Give it a contentItem (and a background if it needs one).
T.AbstractButton {
    id: control

    property real pressScale: 0.95
    property real pressBrightness: -0.03

    hoverEnabled: true
    // Named by its text; a button showing only a symbol or a picture sets Accessible.name itself.
    Accessible.role: Accessible.Button
    Accessible.name: text
    focusPolicy: Qt.NoFocus
    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset,
                             implicitContentHeight + topPadding + bottomPadding)

    scale: down && !Motion.reduceMotion ? pressScale : 1
    MotionAnimation on scale { preset: Animations.press }

    layer.enabled: down && pressBrightness !== 0
    layer.smooth: true
    layer.effect: BrightnessContrast { brightness: control.pressBrightness }
}
