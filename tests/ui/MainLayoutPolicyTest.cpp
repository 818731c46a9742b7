#include "MainLayoutPolicy.h"

#include "StoreFixture.h"

#include <QQuickItem>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace corvane;

using Placement = MainLayoutPolicy::Placement;
using Sheet = MainLayoutPolicy::Sheet;

TEST(MainLayoutRules, ThresholdsAndWelcomeGate)
{
    EXPECT_FALSE(MainLayoutPolicy::sidebarTarget(819.5));
    EXPECT_TRUE(MainLayoutPolicy::sidebarTarget(820));
    EXPECT_EQ(MainLayoutPolicy::placement(959, true, true), Placement::floating);
    EXPECT_EQ(MainLayoutPolicy::placement(960, true, true), Placement::docked);
    EXPECT_EQ(MainLayoutPolicy::placement(1200, false, true), Placement::none);
    EXPECT_EQ(MainLayoutPolicy::placement(1200, true, false), Placement::none);

    EXPECT_TRUE(MainLayoutPolicy::shouldShowWelcome(false, false));
    EXPECT_FALSE(MainLayoutPolicy::shouldShowWelcome(true, false));
    EXPECT_FALSE(MainLayoutPolicy::shouldShowWelcome(false, true));
    EXPECT_FALSE(MainLayoutPolicy::shouldShowWelcome(true, true));

    EXPECT_EQ(MainLayoutPolicy::tagSheetTitle(0), "Tag clip");
    EXPECT_EQ(MainLayoutPolicy::tagSheetTitle(1), "Tag clip");
    EXPECT_EQ(MainLayoutPolicy::tagSheetTitle(3), "Tag 3 clips");
}

TEST(MainLayoutRules, HeldSpaceAndTextEntries)
{
    EXPECT_TRUE(MainLayoutPolicy::isHeldSpace(true, 500));
    EXPECT_TRUE(MainLayoutPolicy::isHeldSpace(false, 0)) << "a repeat sent as release and press";
    EXPECT_FALSE(MainLayoutPolicy::isHeldSpace(false, 200));
    EXPECT_FALSE(MainLayoutPolicy::isHeldSpace(false, -1)) << "opened without Space: the first press closes";

    test::ensureGuiApplication();
    QQuickItem plain;
    EXPECT_FALSE(MainLayoutPolicy::isTextEntry(&plain));
    EXPECT_FALSE(MainLayoutPolicy::isTextEntry(nullptr));
}

class MainLayout : public test::StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        ids = addMany(3);
        policy.setStore(store.get());
        policy.setSettings(settings.get());
    }

    QList<std::int64_t> ids;
    MainLayoutPolicy policy;
};

TEST_F(MainLayout, SidebarFollowsTheWidthOnlyWhenItCrossesTheThreshold)
{
    EXPECT_TRUE(policy.sidebarVisible()) << "the first frame lays out wide";
    policy.updateWidth(700);
    EXPECT_FALSE(policy.sidebarVisible());
    policy.setSidebarVisible(true); // shown by hand in a narrow window
    policy.updateWidth(650);
    EXPECT_TRUE(policy.sidebarVisible()) << "resizing on the same side keeps the user's choice";
    policy.updateWidth(900);
    policy.toggleSidebar(); // hidden by hand in a wide window
    policy.updateWidth(1100);
    EXPECT_FALSE(policy.sidebarVisible());
    policy.updateWidth(800);
    policy.updateWidth(830);
    EXPECT_TRUE(policy.sidebarVisible()) << "crossing back shows it again";
}

TEST_F(MainLayout, InspectorNeedsALoadedSelectedClip)
{
    store->select(ids[0]);
    store->setShowInspector(true);
    EXPECT_EQ(policy.inspectorPlacement(), Placement::docked);
    policy.updateWidth(900);
    EXPECT_EQ(policy.inspectorPlacement(), Placement::floating);
    store->database()->deleteClip(ids[0]); // gone behind the store's back, as a prune does
    store->reload();
    EXPECT_EQ(policy.inspectorPlacement(), Placement::none) << "no inspector for a clip no longer loaded";
}

TEST_F(MainLayout, OneSheetAtATimeAndRefusedRequestsAreCleared)
{
    store->select(ids[1]);
    store->setQuickLookClip(ids[1]);
    EXPECT_EQ(policy.activeSheet(), Sheet::quickLook);
    store->setShowTagPicker(true);
    EXPECT_EQ(policy.activeSheet(), Sheet::quickLook);
    EXPECT_FALSE(store->showTagPicker()) << "a refused sheet's flag is reset";
    EXPECT_FALSE(policy.copySelectedClip()) << "Return belongs to the open sheet";

    policy.sheetDismissed();
    EXPECT_FALSE(store->quickLookClip().has_value());
    store->setQuickLookClip(ids[1]);
    EXPECT_EQ(policy.activeSheet(), Sheet::quickLook) << "the same clip opens again";

    store->deleteClip(ids[1]);
    EXPECT_EQ(policy.activeSheet(), Sheet::none) << "the sheet closes with its clip";

    policy.requestWelcome();
    store->setQuickLookClip(ids[0]);
    EXPECT_EQ(policy.activeSheet(), Sheet::welcome);
    EXPECT_FALSE(store->quickLookClip().has_value());
}

TEST_F(MainLayout, WelcomeTourOnceThenOnlyWhenAsked)
{
    policy.showWelcomeIfNeeded();
    EXPECT_EQ(policy.activeSheet(), Sheet::welcome);
    policy.sheetDismissed();
    EXPECT_TRUE(settings->didShowWelcomeTour());
    policy.showWelcomeIfNeeded();
    EXPECT_EQ(policy.activeSheet(), Sheet::none);
    policy.requestWelcome();
    EXPECT_EQ(policy.activeSheet(), Sheet::welcome);
}

TEST_F(MainLayout, ReturnCopiesTheSelectedClip)
{
    EXPECT_FALSE(policy.copySelectedClip());
    store->select(ids[2]);
    EXPECT_TRUE(policy.copySelectedClip());
    EXPECT_EQ(clipboardText(), QStringLiteral("clip 2"));
}
