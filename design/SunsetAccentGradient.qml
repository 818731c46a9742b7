import QtQuick
import Corvane.Design

// The accent gradient, leading to trailing.
Gradient {
    orientation: Gradient.Horizontal
    GradientStop { position: 0; color: Theme.accentGradientStart }
    GradientStop { position: 1; color: Theme.accentGradientEnd }
}
