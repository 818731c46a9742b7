#include "BackgroundSearch.h"
#include "ClipFilter.h"
#include "PopoverViewModel.h"
#include "StoreFixture.h"

#include <QSignalSpy>

using namespace corvane;
using namespace corvane::test;

namespace {

/** @brief A popover that records what the view model asks of it. */
class FakeHost : public PopoverHost
{
public:
    bool shown = true;
    QStringList calls;
    bool isShown() const override { return shown; }
    void performClose() override
    {
        calls << "close";
        setShown(false);
    }
    void showMainWindow() override { calls << "main"; }
    void showSettingsWindow() override { calls << "settings"; }
    void quit() override { calls << "quit"; }
    void setShown(bool value)
    {
        shown = value;
        emit isShownChanged();
    }
};

class PopoverViewModelTest : public StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        vm.setClock(&clock);
        vm.setHost(&host);
    }
    void attach() { vm.setStore(store.get()); }
    QString rowTitle(int row) const
    {
        return vm.recentModel()->data(vm.recentModel()->index(row), PopoverClipModel::TitleRole).toString();
    }
    QString shortcut(int row) const
    {
        return vm.recentModel()->data(vm.recentModel()->index(row), PopoverClipModel::ShortcutLabelRole).toString();
    }
    bool handle(int key, Qt::KeyboardModifiers mods = {}, const QString &text = {})
    {
        return vm.handleKey(key, int(mods), text, false);
    }

    FakeHost host;
    PopoverViewModel vm;
};

} // namespace

TEST_F(PopoverViewModelTest, PinnedAndRecentSplitWithSixtyNumberedRows)
{
    addMany(75, 5); // 15 pinned
    attach();
    EXPECT_EQ(vm.pinnedModel()->count(), 15);
    EXPECT_EQ(vm.recentModel()->count(), 60);
    for (const ClipRef &clip : vm.recentModel()->clips())
        EXPECT_FALSE(clip->isPinned) << "a pinned clip appears only in the strip";
    EXPECT_EQ(shortcut(0), "Ctrl+1");
    EXPECT_EQ(shortcut(8), "Ctrl+9");
    EXPECT_EQ(shortcut(9), "");
    EXPECT_FALSE(vm.isEmpty());
}

TEST_F(PopoverViewModelTest, RowsCarryTheirSwatchLeadingSizeAndTitleFont)
{
    add(ClipGroup::color, "rgb(255, 94, 58)", 10);
    add(ClipGroup::code, "int main() {}", 20);
    add(ClipGroup::text, "plain words", 30);
    store->reload();
    attach();
    const auto role = [&](int row, int r) { return vm.recentModel()->data(vm.recentModel()->index(row), r); };
    // A colour written as rgb() still shows its swatch, as "#RRGGBB"; other clips have none.
    EXPECT_EQ(role(0, PopoverClipModel::ColorHexRole).toString(), "#FF5E3A");
    EXPECT_EQ(role(1, PopoverClipModel::ColorHexRole).toString(), "");
    EXPECT_EQ(role(0, PopoverClipModel::LeadingSizeRole).toInt(), 30);
    EXPECT_EQ(role(1, PopoverClipModel::LeadingSizeRole).toInt(), 24);
    EXPECT_TRUE(role(0, PopoverClipModel::MonospacedRole).toBool());
    EXPECT_TRUE(role(1, PopoverClipModel::MonospacedRole).toBool());
    EXPECT_FALSE(role(2, PopoverClipModel::MonospacedRole).toBool());
}

TEST_F(PopoverViewModelTest, EmptyStateDependsOnTypedTextOnly)
{
    attach();
    EXPECT_TRUE(vm.isEmpty());
    EXPECT_EQ(vm.emptySymbol(), "doc.on.clipboard");
    EXPECT_EQ(vm.emptyMessage(), "Copy something to get started.");
    add(ClipGroup::text, "hello", 10);
    store->reload();
    vm.setQuery("zzzz");
    EXPECT_TRUE(vm.isEmpty());
    EXPECT_EQ(vm.emptyMessage(), "No matches.");
    EXPECT_EQ(vm.emptySymbol(), "magnifyingglass");
}

TEST_F(PopoverViewModelTest, GroupChipFiltersAndResetsWhenItsGroupLeaves)
{
    const auto code = add(ClipGroup::code, "int main() {}", 10);
    add(ClipGroup::text, "plain words", 20);
    store->reload();
    attach();
    ASSERT_EQ(vm.chips().size(), 3); // All, Code, Text
    vm.selectGroup("code");
    EXPECT_EQ(vm.effectiveQueryText(), "type:code ");
    EXPECT_EQ(vm.recentModel()->count(), 1);

    QSignalSpy groupChanged(&vm, &PopoverViewModel::groupChanged);
    store->deleteClip(code);
    EXPECT_EQ(vm.groupValue(), "") << "the chip is gone, so is its filter";
    EXPECT_EQ(groupChanged.count(), 1);
    EXPECT_EQ(vm.recentModel()->count(), 1);
    EXPECT_EQ(rowTitle(0), "plain words");
}

TEST_F(PopoverViewModelTest, ArrowsReturnAndCtrlDigits)
{
    addMany(75);
    attach();
    EXPECT_TRUE(handle(Qt::Key_Return)) << "Return is taken even with no highlight";
    EXPECT_TRUE(clipboard.writes().empty());

    EXPECT_TRUE(handle(Qt::Key_Up));
    EXPECT_EQ(vm.highlightedRow(), 59) << "Up with no highlight goes to row 60";
    EXPECT_TRUE(handle(Qt::Key_Down));
    EXPECT_EQ(vm.highlightedRow(), 59) << "and Down stays there";
    handle(Qt::Key_Up);
    EXPECT_TRUE(handle(Qt::Key_Return));
    EXPECT_EQ(clipboardText(), "clip 58");

    EXPECT_FALSE(handle(Qt::Key_5, {}, "5"));
    EXPECT_FALSE(handle(Qt::Key_0, Qt::ControlModifier, "0"));
    EXPECT_TRUE(handle(Qt::Key_9, Qt::ControlModifier, "9"));
    EXPECT_EQ(clipboardText(), "clip 8");
    EXPECT_FALSE(vm.handleKey(Qt::Key_3, int(Qt::ControlModifier), "3", true)) << "auto-repeat";
}

TEST_F(PopoverViewModelTest, HighlightOfAVanishedClipCountsAsNone)
{
    const auto ids = addMany(3);
    attach();
    handle(Qt::Key_Down);
    handle(Qt::Key_Down);
    ASSERT_EQ(vm.highlightedRow(), 1);
    store->deleteClip(ids.at(1));
    EXPECT_EQ(vm.highlightedRow(), -1);
    handle(Qt::Key_Return);
    EXPECT_TRUE(clipboard.writes().empty()) << "Return does nothing on a vanished row";
    handle(Qt::Key_Down);
    EXPECT_EQ(vm.highlightedRow(), 0);
}

TEST_F(PopoverViewModelTest, OnlyPinnedClips)
{
    addMany(2, 1);
    attach();
    EXPECT_EQ(vm.recentModel()->count(), 0);
    EXPECT_TRUE(handle(Qt::Key_Down));
    EXPECT_EQ(vm.highlightedRow(), -1);
    EXPECT_FALSE(handle(Qt::Key_1, Qt::ControlModifier, "1"));
}

TEST_F(PopoverViewModelTest, CopyClosesLaterButNotAReopenedPopover)
{
    const auto ids = addMany(3);
    attach();
    vm.copyClicked(ids.at(0));
    EXPECT_EQ(clipboardText(), "clip 0");
    EXPECT_EQ(vm.copiedValue().toLongLong(), ids.at(0));
    clock.advance(349);
    EXPECT_TRUE(host.calls.isEmpty());
    clock.advance(1);
    EXPECT_EQ(host.calls, QStringList{"close"});
    EXPECT_FALSE(vm.copiedValue().isValid()) << "the check mark goes when the popover closes";

    // Copy, close by hand and reopen within 0.35 s: the reopened popover stays.
    host.setShown(true);
    host.calls.clear();
    vm.copyAndClose(ids.at(1));
    host.setShown(false);
    host.setShown(true);
    EXPECT_FALSE(vm.closePending());
    clock.advance(1000);
    EXPECT_TRUE(host.calls.isEmpty());
    EXPECT_TRUE(host.shown);

    // Two copies in a row keep one timer.
    vm.copyAndClose(ids.at(0));
    clock.advance(200);
    vm.copyAndClose(ids.at(2));
    clock.advance(200);
    EXPECT_TRUE(host.calls.isEmpty());
    clock.advance(150);
    EXPECT_EQ(host.calls, QStringList{"close"});
}

TEST_F(PopoverViewModelTest, PauseFooterAndWindows)
{
    attach();
    EXPECT_EQ(vm.pauseHelp(), "Pause recording for 10 minutes");
    vm.togglePause();
    EXPECT_TRUE(store->isPaused());
    EXPECT_EQ(vm.pauseHelp(), "Resume recording");
    EXPECT_EQ(store->pauseEnd(), clock.now().addSecs(600));
    vm.togglePause();
    EXPECT_FALSE(store->isPaused());

    vm.openMainWindow();
    EXPECT_EQ(host.calls, (QStringList{"close", "main"}));
    host.calls.clear();
    vm.openSettings();
    EXPECT_EQ(host.calls, QStringList{"settings"}) << "already closed: only the window";
}

TEST_F(PopoverViewModelTest, ALargeHistoryIsSearchedOffTheMainThreadAndOnlyTheLastKeystrokeLands)
{
    // More clips than the store searches on the main thread.
    store->database()->exec(
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 24999) "
                       "INSERT INTO clips(kind, byte_size, source_name, source_bundle_id, created_at, hash, text) "
                       "SELECT 'text', 20, 'Text Editor', 'org.gnome.texteditor', %1 - i * 30, 'large-' || i, "
                       "'Note ' || i || (CASE i % 2 WHEN 0 THEN ' about apples' ELSE ' about pears' END) FROM n")
            .arg(ago(0), 0, 'f', 0));
    store->reload();
    ASSERT_EQ(store->clipCount(), 25000);
    attach();
    ASSERT_EQ(vm.recentModel()->count(), 60);
    const QString newest = rowTitle(0);
    QSignalSpy lists(&vm, &PopoverViewModel::listsChanged);
    QSignalSpy finished(store.get(), &ClipboardStore::visibleSearchFinished);

    // Two keystrokes before the event loop runs: neither searches on this thread, the rows wait.
    vm.setQuery("apples");
    vm.setQuery("pears");
    EXPECT_EQ(vm.query(), "pears");
    EXPECT_FALSE(store->visibleIsReady(ClipFilter::all(), "pears"));
    EXPECT_EQ(rowTitle(0), newest);
    EXPECT_EQ(lists.count(), 0);

    store->backgroundSearch()->waitForFinished();
    EXPECT_EQ(finished.count(), 1) << "the first keystroke's search was dropped";
    EXPECT_EQ(lists.count(), 1);
    ASSERT_EQ(vm.recentModel()->count(), 60);
    for (int row = 0; row < 60; ++row)
        ASSERT_TRUE(rowTitle(row).endsWith("pears")) << rowTitle(row).toStdString();
    EXPECT_EQ(ids(vm.recentModel()->clips()), ids(store->visibleClips(ClipFilter::all(), "pears").mid(0, 60)));
}
