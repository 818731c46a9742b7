import QtQuick
import Corvane.Design

// The sidebar column's dress. Linux has no system glass, so the frosted card always applies.
FrostedCard {}
