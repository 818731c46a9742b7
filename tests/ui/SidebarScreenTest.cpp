// The sidebar and the welcome tour in a real window under Xvfb, driven with real X input
// (xdotool): clicks on entries, the sources popover and its filter, the context menu, the tour's
// keys. Screenshots land in build/artifacts for a person to look at.
#include "ClipFilter.h"
#include "FakeDesktopServices.h"
#include "Motion.h"
#include "QuickItems.h"
#include "SidebarModel.h"
#include "SourcePickerModel.h"
#include "StoreFixture.h"
#include "UiSetup.h"
#include "UserGreeting.h"
#include "WelcomeTourModel.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QProcess>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace corvane;
using corvane::test::findItem;

namespace {

const char *hostQml = R"(
import QtQuick
import Corvane.Design
import Corvane.Sidebar

Item {
    id: host
    required property var store
    property alias sidebar: sidebar
    property alias sheet: sheet
    width: 820
    height: 780

    WindowSunset { anchors.fill: parent }
    SidebarView {
        id: sidebar
        x: 10
        y: 10
        width: 250
        height: host.height - 20
        store: host.store
    }
    WelcomeSheet { id: sheet }
}
)";

bool waitFor(const std::function<bool()> &condition, int ms = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > ms)
            return false;
        QTest::qWait(20);
    }
    return true;
}

class SidebarScreenTest : public test::StoreFixture
{
protected:
    static void SetUpTestSuite() { QDir().mkpath(CORVANE_ARTIFACTS_DIR); }

    void SetUp() override
    {
        StoreFixture::SetUp();
        Motion::instance().setReduceMotion(true); // settled frames for the screenshots
        desktop.setUserFullName(QStringLiteral("Dr. Maria Lopez"));
        desktop.setComputerName(QStringLiteral("maria-thinkpad"));
        UserGreeting::instance().setDesktopServices(&desktop);
        // Icons for a few apps; the others show the fallback.
        const std::pair<const char *, const char *> apps[]
            = {{"firefox", "#FF7139"},     {"terminal", "#2E3436"},           {"text-editor", "#3584E4"},
               {"thunderbird", "#0A84FF"}, {"libreoffice-writer", "#2A7FD4"}, {"libreoffice-calc", "#18A303"}};
        for (const auto &[id, color] : apps) {
            QImage icon(64, 64, QImage::Format_ARGB32);
            icon.fill(Qt::transparent);
            QPainter painter(&icon);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setBrush(QColor(color));
            painter.setPen(Qt::NoPen);
            painter.drawRoundedRect(QRectF(4, 4, 56, 56), 14, 14);
            painter.setPen(Qt::white);
            painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 28, QFont::Bold));
            painter.drawText(icon.rect(), Qt::AlignCenter, QString(QChar(id[0])).toUpper());
            painter.end();
            entries.add(DesktopEntry{.id = id, .name = id, .icon = {}, .exec = {}, .startupWMClass = {}, .path = {}}, icon);
        }
    }

    void TearDown() override
    {
        delete host;
        host = nullptr;
        window.reset();
        engine.reset();
        UserGreeting::instance().setDesktopServices(nullptr);
    }

    std::int64_t addFrom(ClipGroup group, const QString &text, double minutesAgo, const QString &app, const QString &url = {})
    {
        ClipDatabase::NewClip c = test::textClip(group, text, ago(minutesAgo * 60));
        c.sourceName = app;
        c.sourceBundleID = app.toLower().replace(u' ', u'-');
        if (!url.isEmpty())
            c.sourceURL = url;
        return insert(c);
    }

    /** Links, code, colours and texts from a few apps and one website; pins and tags. */
    void seedFewSources()
    {
        const QStringList apps{"Firefox", "Terminal", "Text Editor"};
        for (int i = 0; i < 30; ++i) {
            const QString app = apps.at(i % 3);
            switch (i % 5) {
            case 0:
                addFrom(ClipGroup::link, QStringLiteral("https://docs.example.org/page-%1").arg(i), i * 20, app,
                        QStringLiteral("https://docs.example.org/page-%1").arg(i));
                break;
            case 1:
                addFrom(ClipGroup::code, QStringLiteral("git log --oneline -n %1").arg(i), i * 20, app);
                break;
            case 2:
                addFrom(ClipGroup::color, QStringLiteral("#%1A3B").arg(10 + i), i * 20, app);
                break;
            default:
                addFrom(ClipGroup::text, QStringLiteral("Meeting notes, part %1").arg(i), i * 20, app);
            }
        }
        const auto pinned = addFrom(ClipGroup::text, "Wi-Fi: corvane-guest", 700, "Text Editor");
        store->database()->setPinned(pinned, true, 1);
        const auto tagged = addFrom(ClipGroup::email, "hello@corvane.app", 710, "Thunderbird");
        store->database()->setPinned(tagged, true, 2);
        store->database()->setTags(tagged, ColorTags::bit(ColorTag::red) | ColorTags::bit(ColorTag::blue));
        store->database()->setTags(pinned, ColorTags::bit(ColorTag::green));
        store->reload();
    }

    void seedManySources(int count)
    {
        const QStringList names{"Firefox",
                                "Terminal",
                                "Text Editor",
                                "Files",
                                "Builder",
                                "Thunderbird",
                                "Calculator",
                                "Fractal",
                                "Evolution",
                                "Geary",
                                "Inkscape",
                                "GIMP",
                                "LibreOffice Writer",
                                "LibreOffice Calc",
                                "Kate",
                                "Konsole",
                                "Dolphin",
                                "Okular",
                                "Spotify",
                                "Zed",
                                "Obsidian",
                                "Signal"};
        for (int s = 0; s < count; ++s) {
            for (int i = 0; i <= (count - s) % 7; ++i)
                addFrom(ClipGroup::text, QStringLiteral("%1 clip %2").arg(names.at(s % names.size())).arg(i), s * 30 + i,
                        names.at(s % names.size()));
        }
        store->reload();
    }

    void show()
    {
        engine = std::make_unique<QQmlEngine>();
        installUi(*engine, store.get());
        QQmlComponent component(engine.get());
        component.setData(hostQml, QUrl(QStringLiteral("qrc:/test/SidebarHost.qml")));
        ASSERT_FALSE(component.isError()) << component.errorString().toStdString();
        window = std::make_unique<QQuickWindow>();
        window->setColor(QColor("#FFF4E8"));
        QObject *object = component.createWithInitialProperties({{"store", QVariant::fromValue(store.get())}});
        ASSERT_TRUE(object) << component.errorString().toStdString();
        host = qobject_cast<QQuickItem *>(object);
        host->setParentItem(window->contentItem());
        window->resize(int(host->width()), int(host->height()));
        window->setPosition(0, 0);
        QSignalSpy swapped(window.get(), &QQuickWindow::frameSwapped);
        window->show();
        window->requestActivate();
        ASSERT_TRUE(swapped.wait(20000)) << "no frame";
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QQuickItem *sidebar() const { return host->property("sidebar").value<QQuickItem *>(); }
    QObject *sheet() const { return host->property("sheet").value<QObject *>(); }
    SidebarModel *model() const { return sidebar()->property("sidebarModel").value<SidebarModel *>(); }
    SourcePickerModel *picker() const { return sidebar()->property("sourcePicker").value<SourcePickerModel *>(); }

    QQuickItem *item(const QString &name) const
    {
        QQuickItem *found = findItem(window->contentItem(), name);
        if (!found)
            ADD_FAILURE() << "no item " << name.toStdString();
        return found;
    }

    void xdotool(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral("xdotool"), arguments);
        ASSERT_TRUE(process.waitForFinished(20000));
        ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    }

    /** A real pointer click at the item's centre (or `at` inside it). */
    void click(QQuickItem *target, int button = 1, std::optional<QPointF> at = std::nullopt)
    {
        ASSERT_TRUE(target);
        const QPointF local = at.value_or(QPointF(target->width() / 2, target->height() / 2));
        const QPoint p = window->mapToGlobal(target->mapToScene(local).toPoint());
        // No --sync: it waits for a motion that never comes when the pointer is there already.
        xdotool({"mousemove", QString::number(p.x()), QString::number(p.y())});
        QTest::qWait(50);
        xdotool({"click", QString::number(button)});
        QTest::qWait(100);
    }

    void key(const QString &keys)
    {
        xdotool({"key", "--delay", "30", keys});
        QTest::qWait(100);
    }
    void type(const QString &text)
    {
        xdotool({"type", "--delay", "40", text});
        QTest::qWait(100);
    }

    void shoot(const QString &name)
    {
        QTest::qWait(300);
        const QImage shot = window->grabWindow();
        ASSERT_FALSE(shot.isNull());
        ASSERT_TRUE(shot.save(QStringLiteral(CORVANE_ARTIFACTS_DIR "/") + name));
    }

    FakeDesktopServices desktop;
    std::unique_ptr<QQmlEngine> engine;
    std::unique_ptr<QQuickWindow> window;
    QQuickItem *host = nullptr;
};

} // namespace

TEST_F(SidebarScreenTest, ClickingEntriesSetsTheStoresFilter)
{
    seedFewSources();
    ASSERT_NO_FATAL_FAILURE(show());
    shoot("sidebar-few-sources.png");
    // No system glass on Linux: the column always wears the frosted card.
    EXPECT_EQ(sidebar()->property("radius").toReal(), 18.0);

    click(item("sidebarRow:pinned"));
    EXPECT_TRUE(waitFor([&] { return store->filter() == ClipFilter::pinned(); }));
    click(item("sidebarRow:group:code"));
    EXPECT_TRUE(waitFor([&] { return store->filter() == ClipFilter::ofGroup(ClipGroup::code); }));
    click(item("sidebarRow:tag:4"));
    EXPECT_TRUE(waitFor([&] { return store->filter() == ClipFilter::ofTag(ColorTag::blue); }));
    click(item("sidebarRow:app:terminal"));
    EXPECT_TRUE(waitFor([&] { return store->filter() == ClipFilter::app("terminal"); }));
    shoot("sidebar-source-selected.png");

    // Arrow keys walk the entries from the one selected.
    key("Down");
    EXPECT_TRUE(waitFor([&] { return store->filterKey() != "app:terminal"; }));

    // A day filter from the clip list highlights no entry; "All History" brings .all back.
    store->setFilter(ClipFilter::ofDay(clock.now().toSecsSinceEpoch() - 3600));
    for (const SidebarRow &row : model()->rows())
        EXPECT_FALSE(model()->data(model()->index(int(&row - model()->rows().data())), SidebarModel::IsCurrentRole).toBool());
    click(item("sidebarRow:all"));
    EXPECT_TRUE(waitFor([&] { return store->filter() == ClipFilter::all(); }));

    // The wheel scrolls the entries under the footer and back.
    QQuickItem *list = item("sidebarList");
    const qreal top = list->property("contentY").toReal();
    click(list, 5);
    click(list, 5);
    EXPECT_TRUE(waitFor([&] { return list->property("contentY").toReal() > top; }));
    for (int i = 0; i < 4; ++i)
        click(list, 4);
    EXPECT_TRUE(waitFor([&] { return std::abs(list->property("contentY").toReal() - top) < 0.5; }));
}

TEST_F(SidebarScreenTest, HeaderSpringsInUnlessMotionIsReduced)
{
    seedFewSources();
    ASSERT_NO_FATAL_FAILURE(show());
    // Reduce motion: settled from the first frame.
    QQuickItem *card = item("greetingCard");
    EXPECT_EQ(card->opacity(), 1.0);
    EXPECT_EQ(item("greetingLine")->property("text").toString().section(", ", 1), "Maria");

    delete host;
    host = nullptr;
    window.reset();
    engine.reset();
    Motion::instance().setReduceMotion(false);
    ASSERT_NO_FATAL_FAILURE(show());
    card = item("greetingCard");
    EXPECT_TRUE(waitFor([&] { return card->opacity() == 1.0; }, 5000));
    Motion::instance().setReduceMotion(true);
}

TEST_F(SidebarScreenTest, SourceContextMenuHidesAndKeeps)
{
    seedFewSources();
    ASSERT_NO_FATAL_FAILURE(show());
    click(item("sidebarRow:app:text-editor"), 3);
    QQuickItem *hide = nullptr;
    ASSERT_TRUE(waitFor([&] { return (hide = findItem(window->contentItem(), "hideItem")) && hide->isVisible(); }));
    QQuickItem *keep = findItem(window->contentItem(), "keepItem");
    ASSERT_TRUE(keep);
    EXPECT_EQ(keep->property("text").toString(), "Keep in Sidebar");
    shoot("sidebar-source-menu.png");
    click(hide);
    EXPECT_TRUE(waitFor([&] { return settings->hiddenSources() == QStringList{"text-editor"}; }));
    // Hidden: its row goes and "Show all" appears to bring it back.
    EXPECT_TRUE(waitFor([&] { return findItem(window->contentItem(), "sidebarRow:app:text-editor") == nullptr; }));
    EXPECT_TRUE(waitFor([&] { return findItem(window->contentItem(), "allSourcesButton") != nullptr; }));
}

TEST_F(SidebarScreenTest, AllSourcesPopoverFiltersAndPicks)
{
    seedManySources(20);
    ASSERT_NO_FATAL_FAILURE(show());
    shoot("sidebar-many-sources.png");
    QQuickItem *button = item("allSourcesButton");
    ASSERT_TRUE(button);
    click(button);
    QObject *popover = button->property("popover").value<QObject *>();
    ASSERT_TRUE(waitFor([&] { return popover->property("opened").toBool(); }));
    EXPECT_TRUE(picker()->filterFieldVisible());
    EXPECT_EQ(picker()->count(), 20);
    shoot("sidebar-all-sources-popover.png");

    type("libre");
    EXPECT_TRUE(waitFor([&] { return picker()->query() == "libre"; }));
    EXPECT_EQ(picker()->count(), 2);
    shoot("sidebar-all-sources-search.png");

    // Keep leaves the popover open and the kept source joins the sidebar.
    click(item("keepButton:libreoffice-calc"));
    EXPECT_TRUE(waitFor([&] { return settings->keptSources() == QStringList{"libreoffice-calc"}; }));
    EXPECT_TRUE(popover->property("opened").toBool());
    EXPECT_TRUE(waitFor([&] { return findItem(window->contentItem(), "sidebarRow:app:libreoffice-calc") != nullptr; }));

    click(item("sourceName:libreoffice-writer"));
    EXPECT_TRUE(waitFor([&] { return store->filter() == ClipFilter::app("libreoffice-writer"); }));
    EXPECT_TRUE(waitFor([&] { return !popover->property("visible").toBool(); }));

    // The filter text is still there when the popover opens again.
    click(item("allSourcesButton"));
    ASSERT_TRUE(waitFor([&] { return popover->property("opened").toBool(); }));
    EXPECT_EQ(picker()->query(), "libre");
    key("Escape");
    EXPECT_TRUE(waitFor([&] { return !popover->property("visible").toBool(); }));
}

TEST_F(SidebarScreenTest, PausedFooterKeepsItsWords)
{
    seedFewSources();
    ASSERT_NO_FATAL_FAILURE(show());
    QQuickItem *counts = item("countsLine");
    ASSERT_TRUE(counts);
    const QString before = counts->property("text").toString();
    EXPECT_EQ(before, "32 items · 2 pinned");
    store->pause();
    shoot("sidebar-paused.png");
    EXPECT_EQ(counts->property("text").toString(), before);
    EXPECT_TRUE(item("breathingDot")->isVisible());
}

TEST_F(SidebarScreenTest, TourPagesWithKeys)
{
    seedFewSources();
    ASSERT_NO_FATAL_FAILURE(show());
    QSignalSpy dismissed(sheet(), SIGNAL(dismissed()));
    QMetaObject::invokeMethod(sheet(), "open");
    WelcomeTourModel *tour = sheet()->property("tour").value<WelcomeTourModel *>();
    ASSERT_TRUE(tour);
    ASSERT_TRUE(waitFor([&] { return sheet()->property("opened").toBool(); }));
    EXPECT_EQ(item("welcomeLine")->property("text").toString(), "Hey Maria, welcome");
    for (int page = 0; page <= tour->stepCount(); ++page) {
        ASSERT_EQ(tour->page(), page);
        shoot(QStringLiteral("welcome-tour-page-%1.png").arg(page));
        if (page < tour->stepCount())
            key("Return");
    }
    // Back by its button, then Return to the end closes the sheet.
    click(item("backButton"));
    EXPECT_TRUE(waitFor([&] { return tour->page() == tour->stepCount() - 1; }));
    key("Return");
    key("Return");
    EXPECT_TRUE(waitFor([&] { return dismissed.count() == 1; }));
    EXPECT_FALSE(sheet()->property("visible").toBool());

    // Presented again, it starts over; Escape dismisses too.
    QMetaObject::invokeMethod(sheet(), "open");
    ASSERT_TRUE(waitFor([&] { return sheet()->property("opened").toBool(); }));
    EXPECT_EQ(tour->page(), 0);
    key("Escape");
    EXPECT_TRUE(waitFor([&] { return dismissed.count() == 2; }));
}
