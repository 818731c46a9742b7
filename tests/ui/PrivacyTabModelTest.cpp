#include "FakeRunningApps.h"
#include "PrivacyPolicy.h"
#include "PrivacyTabModel.h"
#include "SettingsHost.h"
#include "StoreFixture.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

using namespace corvane;
using namespace corvane::test;

namespace {

QStringList ids(const QList<ExcludedApp> &apps)
{
    QStringList out;
    for (const ExcludedApp &app : apps)
        out << app.bundleID;
    return out;
}

QStringList ids(const AppListModel *model) { return ids(model->apps()); }

TEST(PrivacyTabFilter, OffersRegularOtherAppsOncePerIdSortedByNameWithoutCase)
{
    const QList<RunningApp> raw{
        {"org.gnome.Banana", "Banana", true},
        {"", "Nameless window", true},
        {"corvane", "Corvane", true},
        {"org.keepassxc.keepassxc", "KeePassXC", true},
        {"excluded.app", "Excluded", true},
        {"panel", "Panel", false},
        {"apple", "apple", true},
        {"twin.first", "Twin", true},
        {"org.gnome.Banana", "Banana", true},
        {"twin.second", "twin", true},
        {"no.name", "", true},
    };
    const QList<ExcludedApp> apps
        = PrivacyTabModel::filterRunningApps(raw, "corvane", {{"excluded.app", "Excluded"}, {"Other.Case", "x"}});
    // Equal names (in any case) keep the desktop's order; an app without a name goes by its id.
    EXPECT_EQ(ids(apps), (QStringList{"apple", "org.gnome.Banana", "no.name", "twin.first", "twin.second"}));
    EXPECT_EQ(apps.at(2).name, "no.name");
    // An exclusion matches its id exactly.
    EXPECT_EQ(ids(PrivacyTabModel::filterRunningApps({{"other.case", "Other", true}}, "corvane", {{"Other.Case", "x"}})),
              QStringList{"other.case"});
}

TEST(PrivacyTabFilter, NameSkippedAppsAreThoseWithAPasswordLikeNameAndNoOverride)
{
    const QList<ExcludedApp> running{{"a.vault", "My VAULT"}, {"b.pass", "Password Tool"}, {"c.plain", "Editor"}};
    EXPECT_EQ(ids(PrivacyTabModel::nameSkipped(running, {{"b.pass", "Password Tool"}})), QStringList{"a.vault"});

    const QList<ExcludedApp> rows = PrivacyTabModel::protectedRows();
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.first().bundleID, PrivacyPolicy::protectedApps().first().bundleIDs.first());
    EXPECT_EQ(rows.first().name, PrivacyPolicy::protectedApps().first().name);
}

TEST(PrivacyTabFilter, SkipTimesShowTheTimeOfDayOnly)
{
    const QDateTime lastYear(QDate(2025, 3, 9), QTime(14, 5));
    const QString text = PrivacyTabModel::skipTime(lastYear);
    EXPECT_EQ(text, QLocale::system().toString(QTime(14, 5), QLocale::ShortFormat));
    EXPECT_FALSE(text.contains("2025"));
}

class PrivacyTabModelTest : public StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        desktop.setApps({{"org.gnome.TextEditor", "Text Editor", true},
                         {"io.vault.Client", "Vault Client", true},
                         {"org.keepassxc.KeePassXC", "KeePassXC", true}});
        model.setSelfID("corvane");
        model.setHost(&host);
        model.setStore(store.get());
        model.refresh();
    }

    FakeRunningApps desktop;
    FakeDesktopEntries installed;
    SettingsHost host{{"1", &desktop, &installed, {}, {}}};
    PrivacyTabModel model;
    QAbstractItemModelTester runningTester{model.runningApps(), QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(PrivacyTabModelTest, EachEditMovesAnAppBetweenTheListsAtOnce)
{
    EXPECT_EQ(ids(model.runningApps()), (QStringList{"org.gnome.TextEditor", "io.vault.Client"}));
    EXPECT_EQ(ids(model.nameSkippedApps()), QStringList{"io.vault.Client"});
    EXPECT_FALSE(model.showOverrides());
    EXPECT_TRUE(model.showNameSkipped());

    model.addExclusion("org.gnome.TextEditor", "Text Editor");
    EXPECT_EQ(ids(model.exclusions()), QStringList{"org.gnome.TextEditor"});
    EXPECT_EQ(ids(model.runningApps()), QStringList{"io.vault.Client"});

    // Removing it offers it again straight away, not at the next launch.
    model.removeExclusion("org.gnome.TextEditor");
    EXPECT_EQ(model.exclusions()->count(), 0);
    EXPECT_EQ(ids(model.runningApps()), (QStringList{"org.gnome.TextEditor", "io.vault.Client"}));

    QSignalSpy sections(&model, &PrivacyTabModel::listsChanged);
    model.allow("io.vault.Client", "Vault Client");
    EXPECT_EQ(ids(model.overrides()), QStringList{"io.vault.Client"});
    EXPECT_EQ(model.nameSkippedApps()->count(), 0);
    EXPECT_TRUE(model.showOverrides());
    EXPECT_FALSE(model.showNameSkipped());
    EXPECT_EQ(sections.size(), 1);
    EXPECT_EQ(settings->nameRuleOverrideIDs(), QStringList{"io.vault.Client"});

    model.skipAgain("io.vault.Client");
    EXPECT_EQ(model.overrides()->count(), 0);
    EXPECT_EQ(ids(model.nameSkippedApps()), QStringList{"io.vault.Client"});

    // An excluded vault is listed under the exclusions only.
    model.addExclusion("io.vault.Client", "Vault Client");
    EXPECT_EQ(model.nameSkippedApps()->count(), 0);
    // Password managers cannot be excluded: they are always skipped anyway.
    model.addExclusion("org.keepassxc.KeePassXC", "KeePassXC");
    EXPECT_EQ(ids(model.exclusions()), QStringList{"io.vault.Client"});
}

TEST_F(PrivacyTabModelTest, ANewAppOnTheDesktopIsOfferedButOneThatQuitStaysUntilTheNextRebuild)
{
    desktop.setApps({{"org.gnome.TextEditor", "Text Editor", true}, {"org.gnome.TextEditor", "Text Editor", true}});
    EXPECT_EQ(ids(model.runningApps()), (QStringList{"org.gnome.TextEditor", "io.vault.Client"}));

    desktop.setApps({{"org.gnome.TextEditor", "Text Editor", true}, {"org.mozilla.firefox", "Firefox", true}});
    EXPECT_EQ(ids(model.runningApps()), (QStringList{"org.mozilla.firefox", "org.gnome.TextEditor"}));

    model.refresh();
    EXPECT_EQ(ids(model.runningApps()), (QStringList{"org.mozilla.firefox", "org.gnome.TextEditor"}));
}

TEST_F(PrivacyTabModelTest, WithoutAWindowListTheInstalledAppsAreOffered)
{
    desktop.setAvailable(false);
    installed.add({"org.gnome.Calculator", "Calculator", "calc", "gnome-calculator", {}, {}, false});
    installed.add({"hidden.helper", "Helper", {}, "helper", {}, {}, true});
    model.refresh();
    EXPECT_FALSE(model.knowsRunningApps());
    EXPECT_EQ(ids(model.runningApps()), QStringList{"org.gnome.Calculator"});
}

TEST_F(PrivacyTabModelTest, RecentSkipsAreListedLiveWithTheirTime)
{
    EXPECT_TRUE(model.recentSkips().isEmpty());
    QSignalSpy skips(&model, &PrivacyTabModel::recentSkipsChanged);
    store->recordSkip("Vault Client", "Password manager");
    ASSERT_EQ(skips.size(), 1);
    const QVariantMap row = model.recentSkips().first().toMap();
    EXPECT_EQ(row.value("appName"), "Vault Client");
    EXPECT_EQ(row.value("reason"), "Password manager");
    EXPECT_EQ(row.value("time"), PrivacyTabModel::skipTime(clock.now()));
}

} // namespace
