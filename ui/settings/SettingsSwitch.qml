import QtQuick
import QtQuick.Controls
import Corvane.Design

// A settings row whose control is a switch; `checked` is bound by the caller, `toggled(on)` reports the user's flip.
SettingsRow {
    id: row

    property bool checked
    property bool switchEnabled: true
    signal toggled(bool on)

    enabledLabel: switchEnabled

    Switch {
        id: control
        objectName: "switch_" + row.label
        checked: row.checked
        enabled: row.switchEnabled
        padding: 0
        Accessible.name: row.label
        onToggled: {
            row.toggled(checked)
            // The bound value decides what is shown: a refused change flips back.
            checked = Qt.binding(() => row.checked)
        }
    }
}
