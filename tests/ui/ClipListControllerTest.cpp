#include "BackgroundSearch.h"
#include "ClipListController.h"
#include "ClipListModel.h"
#include "StoreFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QSignalSpy>

using namespace corvane;
using namespace corvane::ClipListRules;

namespace {

struct KeyCase {
    int key;
    Qt::KeyboardModifiers modifiers;
    bool repeat;
    bool hasSelected;
    int count;
    ListKeyAction expected;
};

} // namespace

TEST(ClipListKeyDecision, Table)
{
    using A = ListKeyAction;
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const KeyCase cases[] = {
        {Qt::Key_Return, none, false, true, 1, A::Copy},
        {Qt::Key_Enter, Qt::KeypadModifier, false, true, 1, A::Copy},
        {Qt::Key_Return, none, true, true, 1, A::Nothing},   // held Return copies once
        {Qt::Key_Return, none, false, false, 0, A::Nothing}, // nothing selected: taken anyway
        {Qt::Key_Return, none, false, true, 3, A::CopyMany},
        {Qt::Key_Return, Qt::AltModifier, false, true, 2, A::CopyPlain}, // only the anchor, plain
        {Qt::Key_Return, Qt::AltModifier, false, false, 2, A::CopyMany}, // no anchor: the plain rule
        {Qt::Key_Return, Qt::AltModifier, false, false, 0, A::Nothing},
        {Qt::Key_Space, none, false, true, 1, A::QuickLook},
        {Qt::Key_Space, none, true, true, 1, A::Nothing}, // held Space opens it once
        {Qt::Key_Space, none, false, false, 0, A::Nothing},
        {Qt::Key_Escape, none, true, true, 1, A::ClearSelection},
        {Qt::Key_Backspace, none, false, true, 1, A::Delete},
        {Qt::Key_Delete, none, false, true, 1, A::Delete},
        {Qt::Key_Backspace, none, true, true, 1, A::Nothing}, // a held key deletes one clip
        {Qt::Key_Delete, none, false, true, 4, A::DeleteMany},
        {Qt::Key_Delete, none, false, false, 0, A::Nothing},
        {Qt::Key_Up, none, true, false, 0, A::MoveUp},
        {Qt::Key_Down, none, true, true, 1, A::MoveDown},
        {Qt::Key_A, none, false, true, 1, A::Pass},
        {Qt::Key_Tab, none, false, true, 1, A::Pass},
    };
    for (const KeyCase &c : cases)
        EXPECT_EQ(decideListKey(c.key, c.modifiers, c.repeat, c.hasSelected, c.count), c.expected)
            << "key " << c.key << " repeat " << c.repeat << " count " << c.count;
}

TEST(ClipListKeyDecision, APressAtTheMomentOfItsReleaseIsARepeat)
{
    EXPECT_TRUE(isHeldKeyRepeat(true, -1));
    EXPECT_TRUE(isHeldKeyRepeat(false, 0));   // released and pressed at one moment: the server's repeat
    EXPECT_FALSE(isHeldKeyRepeat(false, 60)); // a quick second press
    EXPECT_FALSE(isHeldKeyRepeat(false, -1)); // another key before it, or no event time
}

TEST(ClipListHeader, CountLineEmptyStateAndTabs)
{
    EXPECT_EQ(countLine(0, 0), "0 items");
    EXPECT_EQ(countLine(1, 1), "1 item");
    EXPECT_EQ(countLine(42, 1), "42 items");
    EXPECT_EQ(countLine(42, 3), "42 items · 3 selected");

    EXPECT_EQ(emptyState({}, ClipFilter::all()).message, "Copy anything and it appears here.");
    EXPECT_EQ(emptyState(QStringLiteral("   "), ClipFilter::all()).symbol, "doc.on.clipboard"); // spaces search nothing
    EXPECT_EQ(emptyState(QStringLiteral("x"), ClipFilter::pinned()).message, "No clips match your search.");
    EXPECT_EQ(emptyState({}, ClipFilter::pinned()), (EmptyState{"pin", "Pin up to 20 clips with Ctrl+P to keep them on top."}));
    EXPECT_EQ(emptyState({}, ClipFilter::ofDay(0)).message, "Nothing was copied on this day.");
    EXPECT_EQ(emptyState({}, ClipFilter::ofTag(ColorTag::red)).symbol, "doc.on.clipboard");

    EXPECT_EQ(tabSelection(ClipFilter::all()), QString());
    EXPECT_EQ(tabSelection(ClipFilter::ofGroup(ClipGroup::code)), QStringLiteral("code"));
    EXPECT_EQ(tabSelection(ClipFilter::pinned()), std::nullopt); // not "All"
    EXPECT_EQ(tabSelection(ClipFilter::ofDay(0)), std::nullopt);
    EXPECT_EQ(filterForTab(QStringLiteral("image")), ClipFilter::ofGroup(ClipGroup::image));
    EXPECT_EQ(filterForTab(QString()), ClipFilter::all());
}

class ClipListControllerTest : public test::StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        controller.setStore(store.get());
    }
    /** A press a second after the key's last release, unless given. */
    bool press(int key, bool repeat = false, Qt::KeyboardModifiers modifiers = Qt::NoModifier, qint64 since = 1000)
    {
        return controller.handleKey(key, int(modifiers), repeat, since);
    }
    /** Another store over the database file `path`, as at start-up. */
    std::unique_ptr<ClipboardStore> storeOver(const QString &path) { return std::make_unique<ClipboardStore>(services(path)); }
    ClipListController controller;
};

TEST_F(ClipListControllerTest, HeldBackspaceDeletesOneClipAndReturnCopiesTheSelection)
{
    const QList<std::int64_t> ids = addMany(5);
    store->select(ids[0]);
    EXPECT_TRUE(press(Qt::Key_Backspace));
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(press(Qt::Key_Backspace, true));
    // X repeats that arrive as a release and a fresh press at the same moment are repeats all the same.
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(press(Qt::Key_Backspace, false, Qt::NoModifier, 0));
    EXPECT_EQ(store->clipCount(), 4);

    store->select(ids[2]);
    EXPECT_TRUE(press(Qt::Key_Return));
    EXPECT_EQ(clipboardText(), "clip 2");
    store->select(ids[3], false, true);
    EXPECT_EQ(controller.countLine(), "4 items · 2 selected");
    EXPECT_TRUE(press(Qt::Key_Return));
    EXPECT_EQ(clipboardText(), "clip 2\nclip 3");
    EXPECT_TRUE(press(Qt::Key_Space));
    EXPECT_EQ(store->quickLookClip()->id, ids[2]);
    EXPECT_TRUE(press(Qt::Key_Escape));
    EXPECT_FALSE(store->selectedID());
    EXPECT_TRUE(press(Qt::Key_Down)); // nothing selected: the first clip
    EXPECT_EQ(store->selectedID(), ids[1]);
    EXPECT_EQ(controller.selectedRow(), 0);
    EXPECT_FALSE(press(Qt::Key_A));
}

TEST_F(ClipListControllerTest, TheCountFollowsASearchThatLandsLater)
{
    addMany(5);
    store->setBackgroundSearchFrom(0); // searched off the main thread, as a large history is
    QSignalSpy header(&controller, &ClipListController::headerChanged);
    store->setSearchText(QStringLiteral("clip 3"));
    EXPECT_EQ(controller.countLine(), "5 items"); // the rows stay until the search is done
    header.clear();
    store->backgroundSearch()->waitForFinished();
    EXPECT_GE(header.count(), 1);
    EXPECT_EQ(controller.countLine(), "1 item");
}

TEST_F(ClipListControllerTest, RepeatsAreToldFromTheKeyEventsTimes)
{
    const QList<std::int64_t> ids = addMany(4);
    store->select(ids[1]);
    QObject target;
    auto deliver = [&](QEvent::Type type, quint64 time) {
        QKeyEvent event(type, Qt::Key_Backspace, Qt::NoModifier);
        event.setTimestamp(time);
        QCoreApplication::sendEvent(&target, &event);
        return type == QEvent::KeyPress && controller.handleKey(Qt::Key_Backspace, 0, false);
    };
    deliver(QEvent::KeyPress, 5000);
    deliver(QEvent::KeyRelease, 5600);
    deliver(QEvent::KeyPress, 5600); // the server's repeat, not recognised as one
    EXPECT_EQ(store->clipCount(), 3);
    deliver(QEvent::KeyRelease, 5640);
    deliver(QEvent::KeyPress, 5900); // pressed again
    EXPECT_EQ(store->clipCount(), 2);
}

TEST_F(ClipListControllerTest, KeysActOnlyOnTheSelectionTheListShows)
{
    const QList<std::int64_t> ids = addMany(12);
    store->select(ids[0]);
    store->select(ids[11], false, true);            // all twelve
    store->setSearchText(QStringLiteral("clip 1")); // shows clip 1, 10, 11
    EXPECT_EQ(controller.countLine(), "3 items · 3 selected");
    EXPECT_TRUE(press(Qt::Key_Delete));
    EXPECT_EQ(store->clipCount(), 9); // the hidden nine stay
    store->setSearchText({});
    EXPECT_EQ(controller.countLine(), "9 items · 9 selected"); // still selected, now shown again
}

TEST_F(ClipListControllerTest, ClicksTabsDayChipAndAnEmptiedGroup)
{
    const QList<std::int64_t> ids = addMany(4);
    const auto code = add(ClipGroup::code, QStringLiteral("int x = 1;"), 1);
    store->reload();
    controller.click(ids[0], 0);
    controller.click(ids[2], int(Qt::ShiftModifier | Qt::ControlModifier)); // Ctrl wins
    EXPECT_EQ(store->selectionCount(), 2);
    controller.click(ids[3], int(Qt::ShiftModifier)); // from the anchor
    EXPECT_EQ(store->selectionCount(), 2);

    EXPECT_TRUE(controller.groups().contains("code"));
    controller.pickTab(QStringLiteral("code"));
    EXPECT_EQ(controller.tabSelectionValue(), "code");
    EXPECT_EQ(controller.countLine(), "1 item");
    store->deleteClip(code); // the tab's last clip: back to All
    EXPECT_EQ(store->filter(), ClipFilter::all());
    EXPECT_EQ(controller.tabSelectionValue(), "");

    store->setFilter(ClipFilter::pinned());
    EXPECT_EQ(controller.tabSelectionValue(), "none");
    EXPECT_TRUE(controller.isEmpty());
    store->setFilter(ClipFilter::ofDay(0));
    EXPECT_TRUE(controller.showsDayChip());
    controller.showAllDays();
    EXPECT_EQ(store->filter(), ClipFilter::all());
    EXPECT_FALSE(controller.showsDayChip());
}

TEST_F(ClipListControllerTest, PhotoGridOnlyForImagesWithTheSettingOn)
{
    add(ClipGroup::image, QString(), 1);
    store->reload();
    store->setFilter(ClipFilter::ofGroup(ClipGroup::image));
    EXPECT_TRUE(controller.showsPhotoGrid());
    settings->setPhotoGridEnabled(false);
    EXPECT_FALSE(controller.showsPhotoGrid());
}

TEST_F(ClipListControllerTest, WarningsReachTheBannerAndInfoDoesNot)
{
    QSignalSpy banner(&controller, &ClipListController::bannerChanged);
    store->showNotice(QStringLiteral("Copied to clipboard"), Notice::Kind::info);
    EXPECT_FALSE(controller.bannerVisible());
    store->showNotice(QStringLiteral("Couldn’t save the note: disk I/O error"), Notice::Kind::warning);
    EXPECT_TRUE(controller.bannerVisible());
    EXPECT_EQ(controller.bannerMessage(), "Couldn’t save the note: disk I/O error");
    const QString first = controller.bannerId();
    store->showNotice(QStringLiteral("Couldn’t save the copy: database or disk is full"), Notice::Kind::warning);
    EXPECT_NE(controller.bannerId(), first); // a new notice bounces the icon again
    EXPECT_GE(banner.size(), 2);

    // A full history: saving a note fails and says so over the list.
    const auto id = add(ClipGroup::text, QStringLiteral("a clip"), 1);
    store->reload();
    store->database()->exec(QStringLiteral("PRAGMA max_page_count = 1")); // no page beyond those in use
    store->saveNote(QString(200000, u'n'), id);
    EXPECT_TRUE(controller.bannerMessage().startsWith("Couldn’t save the note")) << controller.bannerMessage().toStdString();
    EXPECT_TRUE(controller.bannerMessage().contains("full")) << controller.bannerMessage().toStdString();
}

TEST_F(ClipListControllerTest, ADamagedHistoryStaysOnTheBannerAfterItsNoticeIsGone)
{
    const QString damaged = dir.filePath("damaged.sqlite");
    QFile file(damaged);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    auto broken = storeOver(damaged);
    ClipListController view;
    view.setStore(broken.get());
    EXPECT_TRUE(view.bannerVisible());
    EXPECT_TRUE(view.bannerMessage().contains("history")) << view.bannerMessage().toStdString();
    broken->dismissNotice(); // the notice's time is up; the window opens later
    EXPECT_TRUE(view.bannerVisible());
    EXPECT_EQ(view.bannerId(), "history");
}

TEST_F(ClipListControllerTest, AReadOnlyHistoryReachesTheBanner)
{
    const QString readOnly = dir.filePath("readonly.sqlite");
    {
        storeOver(readOnly);
    }
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner));
    if (QFileInfo(readOnly).isWritable())
        GTEST_SKIP() << "running as root: files are always writable";
    auto locked = storeOver(readOnly);
    ClipListController lockedView;
    lockedView.setStore(locked.get());
    locked->dismissNotice();
    EXPECT_TRUE(lockedView.bannerMessage().contains("readonly") || lockedView.bannerMessage().contains("read-only"))
        << lockedView.bannerMessage().toStdString();
}

TEST_F(ClipListControllerTest, AHistoryThatCannotBeReadReachesTheBannerAndClearsOnTheNextGoodLoad)
{
    addMany(3);
    store->database()->exec(QStringLiteral("ALTER TABLE clips RENAME TO clips_gone"));
    store->reload();
    EXPECT_TRUE(controller.bannerMessage().startsWith("Couldn’t read the history")) << controller.bannerMessage().toStdString();
    store->dismissNotice();
    EXPECT_TRUE(controller.bannerVisible());
    store->database()->exec(QStringLiteral("ALTER TABLE clips_gone RENAME TO clips"));
    store->reload();
    EXPECT_FALSE(controller.bannerVisible());
}
