import QtQuick
import QtTest
import Corvane.Design

Item {
    id: root
    width: 400
    height: 200

    SunsetSearchField {
        id: main
        width: 300
        focusNotification: "Corvane.focusSearch"
        placeholder: "Search"
    }

    SunsetSearchField {
        id: other
        y: 60
        width: 300
    }

    TestCase {
        name: "SunsetSearchField"
        when: windowShown

        function input(field) { return findChild(field, "searchInput") }

        function test_focusFollowsNotifications() {
            verify(!input(main).activeFocus)
            AppEvents.post("Corvane.focusSearch")
            tryVerify(() => input(main).activeFocus)
            verify(!input(other).activeFocus, "a field without that notification stays out")

            AppEvents.post("CVReleaseSearchFocus")
            verify(!input(main).activeFocus)
            verify(!main.activeFocus)

            AppEvents.post("Corvane.focusSearch")
            tryVerify(() => input(main).activeFocus, 1000, "the field can be focused again")
            AppEvents.post("CVShowWelcomeTour")
            verify(input(main).activeFocus, "other notifications leave it alone")
            AppEvents.post("CVReleaseSearchFocus")
        }

        function test_clearButtonOnlyWithText() {
            const clear = findChild(main, "clearButton")
            main.text = ""
            verify(!clear.visible)
            main.text = "type:link"
            verify(clear.visible)
            mouseClick(clear)
            compare(main.text, "")
            verify(!clear.visible)
        }
    }
}
