// The accessibility audit other screen tests rely on: it must catch what a screen reader misses.
#include "AccessibilityAudit.h"
#include "StoreFixture.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace corvane::test;

namespace {

/** A window showing `qml` (QtQuick and its templates imported). */
struct Screen {
    QQmlEngine engine;
    QQuickWindow window;
    std::unique_ptr<QQuickItem> root;
};

std::unique_ptr<Screen> show(const QByteArray &qml)
{
    corvane::test::ensureGuiApplication();
    auto screen = std::make_unique<Screen>();
    QQmlComponent component(&screen->engine);
    component.setData("import QtQuick\nimport QtQuick.Templates as T\n" + qml, QUrl::fromLocalFile("/audit/Audit.qml"));
    screen->root.reset(qobject_cast<QQuickItem *>(component.create()));
    if (!screen->root) {
        ADD_FAILURE() << component.errorString().toStdString();
        return screen;
    }
    screen->root->setParentItem(screen->window.contentItem());
    screen->window.resize(400, 400);
    screen->window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&screen->window));
    return screen;
}

bool reports(const QStringList &problems, const QString &start, const QString &part)
{
    for (const QString &p : problems) {
        if (p.startsWith(start) && p.contains(part))
            return true;
    }
    return false;
}

} // namespace

TEST(AccessibilityAudit, ReportsWhatAReaderCannotRead)
{
    auto screen = show(R"(
Column {
    width: 400; height: 400
    Text { text: "Loose caption" }
    T.AbstractButton { width: 20; height: 20 }
    Item { width: 20; height: 20; Accessible.role: Accessible.ListItem; Accessible.name: "Stray row" }
    Text { text: "••••"; Accessible.name: text; Accessible.description: "sk_live_hidden" }
    MouseArea { width: 20; height: 20 }
    Item { width: 20; height: 20; TapHandler {} }
    Item { width: 20; height: 20; Accessible.role: Accessible.Button }
    Item {
        width: 100; height: 20
        Accessible.role: Accessible.Button; Accessible.name: "Open"
        Text { text: "Open Corvane" }
    }
}
)");
    const QStringList problems = auditAccessibility(&screen->window, {"sk_live_hidden"});
    EXPECT_TRUE(reports(problems, "unreadable text \"Loose caption\"", "the window")) << problems.join('\n').toStdString();
    EXPECT_TRUE(reports(problems, "no name: ", "Button \"\"")) << "a button without a name";
    EXPECT_TRUE(reports(problems, "list item outside a list: ", "Stray row"));
    EXPECT_TRUE(reports(problems, "a secret's clear text is readable: ", "••••")) << "in a description";
    EXPECT_TRUE(reports(problems, "unreadable control (QQuickMouseArea", ""));
    EXPECT_TRUE(reports(problems, "unreadable control (QQuickItem", "")) << "a tap handler acts";
    EXPECT_TRUE(reports(problems, "unreadable text \"Open Corvane\"", "Button \"Open\""))
        << "a control's name must hold the words it shows";
    EXPECT_EQ(problems.size(), 9) << problems.join('\n').toStdString();
}

TEST(AccessibilityAudit, PassesANamedWindowAndSkipsWhatIsNotShown)
{
    auto screen = show(R"(
Column {
    width: 400; height: 400
    Text { text: "RECENT"; Accessible.name: "Recent" }
    T.AbstractButton {
        width: 120; height: 20
        Accessible.name: "Open Corvane"
        contentItem: Text { text: "Open Corvane" }
    }
    TextInput { width: 100; height: 20; text: "typed"; Accessible.role: Accessible.EditableText; Accessible.name: "Search clips" }
    Text { text: "Hidden"; visible: false }
    Text { text: "Transparent"; opacity: 0 }
    ListView {
        width: 200; height: 40; clip: true
        Accessible.role: Accessible.List; Accessible.name: "Clips"
        model: 20
        delegate: Item {
            required property int index
            width: 200; height: 20
            Accessible.role: Accessible.ListItem; Accessible.name: "Row " + index
            Text { text: "Row " + index }
        }
    }
    Item { width: 10; height: 10; clip: true; Text { y: 30; text: "Clipped away" } }
}
)");
    const QStringList problems = auditAccessibility(&screen->window, {"sk_live"});
    EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString() << dumpAccessibleTree(&screen->window).toStdString();

    EXPECT_EQ(findAccessible(&screen->window, QAccessible::StaticText, "Recent").size(), 1);
    const auto field = findAccessible(&screen->window, QAccessible::EditableText, "Search clips");
    ASSERT_EQ(field.size(), 1);
    EXPECT_EQ(field.first().value, "typed");
    const auto row = findAccessible(&screen->window, QAccessible::ListItem, "Row 1");
    ASSERT_EQ(row.size(), 1);
    EXPECT_EQ(row.first().list, "Clips");
    EXPECT_TRUE(findAccessible(&screen->window, QAccessible::ListItem, "Row 15").isEmpty()) << "scrolled out of the list";
}
