import QtQuick
import QtTest
import Corvane.Design

Item {
    id: root
    width: 500
    height: 100

    property string filter: ""

    SunsetTabBar {
        id: bar
        groups: ["link", "code", "color"]
        selection: root.filter
        onPicked: (group) => root.filter = group
    }

    SignalSpy { id: picked; target: bar; signalName: "picked" }

    TestCase {
        name: "SunsetTabBar"
        when: windowShown

        function test_allTabFirstThenGroupsByDisplayName() {
            compare(findChild(bar, "tab_all").text, "All")
            compare(findChild(bar, "tab_link").text, "Link")
            compare(findChild(bar, "tab_color").text, "Color")
            compare(bar.currentIndex, 0)
            verify(bar.currentTab === findChild(bar, "tab_all"))
        }

        function test_pickingATabWritesTheBinding() {
            mouseClick(findChild(bar, "tab_code"))
            compare(picked.count, 1)
            compare(picked.signalArguments[0][0], "code")
            compare(root.filter, "code")
            compare(bar.selection, "code")
            verify(bar.currentTab === findChild(bar, "tab_code"))

            mouseClick(findChild(bar, "tab_all"))
            compare(root.filter, "")
            compare(bar.currentIndex, 0)
        }

        function test_aGroupMissingFromTheListHasNoPill() {
            bar.selection = "secret"
            verify(bar.currentTab === null)
            bar.selection = ""
        }
    }
}
