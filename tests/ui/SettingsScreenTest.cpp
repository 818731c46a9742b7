// The settings window drawn for real under Xvfb, with other X clients' windows on the desktop:
// tabs, the storage picker, the Add App menu with a window that opens while it is shown.
#include "AccessibilityAudit.h"
#include "Motion.h"
#include "PrivacyTabModel.h"
#include "QuickItems.h"
#include "SettingsHost.h"
#include "StoreFixture.h"
#include "UiSetup.h"
#include "X11RunningApps.h"

#include <QDir>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace corvane;
using namespace corvane::test;
using namespace corvane::x11test;

namespace {

const QUrl settingsViewUrl{QStringLiteral("qrc:/qt-project.org/imports/Corvane/Settings/SettingsView.qml")};

class SettingsScreenTest : public StoreFixture
{
protected:
    static void SetUpTestSuite() { QDir().mkpath(CORVANE_ARTIFACTS_DIR); }

    void SetUp() override
    {
        StoreFixture::SetUp();
        Motion::instance().setReduceMotion(true);
        entries.add({"org.example.Notes", "Notes", {}, "notes", "NotesApp", {}, false});
        entries.add({"org.example.VaultKeeper", "Vault Keeper", {}, "vaultkeeper", "VaultKeeper", {}, false});
        running = std::make_unique<X11RunningApps>(entries);
        host = std::make_unique<SettingsHost>(SettingsHost::Services{"12", running.get(), &entries, {}, {}});
        host->setShowWindowKey("Super+Shift+V", HotKeyStatus::heldByOtherClient);
    }

    void TearDown() override
    {
        delete view;
        window.reset();
        engine.reset();
    }

    /** Opens a window of another program and lists it as a window manager would. */
    void openApp(const QByteArray &instance, const QByteArray &klass)
    {
        const QByteArray wmClass = instance + '\0' + klass + '\0';
        const xcb_window_t appWindow = other.createWindow();
        other.setProperty(appWindow, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8, wmClass.constData(), quint32(wmClass.size()));
        clients.append(appWindow);
        other.setProperty(other.root(), other.atom("_NET_CLIENT_LIST"), XCB_ATOM_WINDOW, 32, clients.constData(),
                          quint32(clients.size()));
    }

    void show()
    {
        engine = std::make_unique<QQmlEngine>();
        installUi(*engine, store.get());
        QQmlComponent component(engine.get(), settingsViewUrl);
        ASSERT_FALSE(component.isError()) << component.errorString().toStdString();
        window = std::make_unique<QQuickWindow>();
        QObject *object = component.createWithInitialProperties(
            {{"store", QVariant::fromValue(store.get())}, {"host", QVariant::fromValue(host.get())}});
        ASSERT_TRUE(object) << component.errorString().toStdString();
        view = qobject_cast<QQuickItem *>(object);
        view->setParentItem(window->contentItem());
        window->resize(int(view->implicitWidth()), int(view->implicitHeight()));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    QQuickItem *item(const QString &name)
    {
        QQuickItem *found = findItem(window->contentItem(), name);
        EXPECT_TRUE(found) << name.toStdString();
        return found;
    }

    void shoot(const QString &name)
    {
        QTest::qWait(300);
        const QImage image = window->grabWindow();
        EXPECT_FALSE(image.isNull());
        image.save(QStringLiteral(CORVANE_ARTIFACTS_DIR "/") + name);
        // Each state drawn is also read: every text and control has a role and a name.
        const QStringList unreadable = test::auditAccessibility(window.get());
        EXPECT_TRUE(unreadable.isEmpty()) << name.toStdString() << ":\n" << unreadable.join('\n').toStdString();
    }

    PrivacyTabModel *privacyModel()
    {
        QQuickItem *tab = item("privacySettings");
        return tab ? tab->property("model").value<PrivacyTabModel *>() : nullptr;
    }

    std::unique_ptr<X11RunningApps> running;
    std::unique_ptr<SettingsHost> host;
    OtherClient other;
    QList<xcb_window_t> clients;
    std::unique_ptr<QQmlEngine> engine;
    std::unique_ptr<QQuickWindow> window;
    QQuickItem *view = nullptr;
};

TEST_F(SettingsScreenTest, GeneralTabShowsTheKeyProblemAndTheStoragePickerSetsTheLimit)
{
    show();
    EXPECT_EQ(window->size(), QSize(520, 520));
    EXPECT_EQ(item("keycap")->property("text").toString(), "Super+Shift+V");
    EXPECT_EQ(item("versionText")->property("text").toString(), "Version 1.00 Beta (12)");
    shoot("settings-general.png");

    // The picker pops its list; the first preset is "250 MB".
    click(window.get(), item("storagePicker"));
    QTest::qWait(300);
    QTest::keyClick(window.get(), Qt::Key_Home);
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([this] { return settings->storageLimit() == 250'000'000; }, 5000));

    QQuickItem *clear = item("clearHistoryButton");
    ASSERT_TRUE(clear);
    scrollTo(window.get(), clear);
    shoot("settings-general-scrolled.png");
    click(window.get(), clear);
    auto *dialog = item("generalSettings")->property("clearDialog").value<QObject *>();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(QTest::qWaitFor([dialog] { return dialog->property("opened").toBool(); }, 5000));
    shoot("settings-clear-dialog.png");
}

TEST_F(SettingsScreenTest, PrivacyTabOffersRunningAppsIncludingOneThatOpensWhileItIsShown)
{
    openApp("notes", "NotesApp");
    openApp("vaultkeeper", "VaultKeeper");
    show();
    click(window.get(), item("privacyTab"));
    PrivacyTabModel *model = privacyModel();
    ASSERT_TRUE(model);
    EXPECT_TRUE(QTest::qWaitFor([model] { return model->runningApps()->count() == 2; }, kPatience));
    EXPECT_EQ(model->nameSkippedApps()->count(), 1);
    shoot("settings-privacy.png");

    openApp("calc", "Calculator");
    EXPECT_TRUE(QTest::qWaitFor([model] { return model->runningApps()->count() == 3; }, kPatience));

    QQuickItem *addApp = item("addAppButton");
    ASSERT_TRUE(addApp);
    scrollTo(window.get(), addApp);
    click(window.get(), addApp);
    QQuickItem *notes = nullptr;
    EXPECT_TRUE(QTest::qWaitFor([&] { return (notes = findItem(window->contentItem(), "addApp_org.example.Notes")); }, 5000));
    shoot("settings-add-app-menu.png");
    ASSERT_TRUE(notes);
    QTest::qWait(300);
    click(window.get(), notes);
    EXPECT_TRUE(QTest::qWaitFor([this] { return settings->userExclusionIDs() == QStringList{"org.example.Notes"}; }, 5000));
    EXPECT_EQ(model->runningApps()->count(), 2);
    auto *menu = item("privacySettings")->property("addAppMenu").value<QObject *>();
    EXPECT_TRUE(QTest::qWaitFor([menu] { return !menu->property("visible").toBool(); }, 5000)) << "the menu stayed open";
    shoot("settings-privacy-excluded.png");

    // "Allow" moves the vault app to the allowed list, its minus button moves it back.
    QQuickItem *nameSkipped = item("nameSkippedList");
    ASSERT_TRUE(nameSkipped);
    scrollTo(window.get(), nameSkipped);
    click(window.get(), findButton(nameSkipped, "Allow"));
    EXPECT_TRUE(
        QTest::qWaitFor([this] { return settings->nameRuleOverrideIDs() == QStringList{"org.example.VaultKeeper"}; }, 5000));
    EXPECT_FALSE(model->showNameSkipped());
    shoot("settings-privacy-allowed.png");
}

} // namespace

namespace {

/** The row of `list` that shows `name` (its delegate, which the list fades in and out). */
QQuickItem *rowOf(QQuickItem *list, const QString &name)
{
    for (QQuickItem *child : list->childItems()) {
        if (child->property("name").toString() == name && child->property("bundleID").isValid())
            return child;
        if (QQuickItem *found = rowOf(child, name))
            return found;
    }
    return nullptr;
}

TEST_F(SettingsScreenTest, PrivacyEditsAnimateOnlyWithoutReducedMotion)
{
    openApp("vaultkeeper", "VaultKeeper");
    Motion::instance().setReduceMotion(false);
    show();
    click(window.get(), item("privacyTab"));
    PrivacyTabModel *model = privacyModel();
    ASSERT_TRUE(QTest::qWaitFor([model] { return model->nameSkippedApps()->count() == 1; }, kPatience));

    model->allow("org.example.VaultKeeper", "Vault Keeper");
    QTest::qWait(20);
    QQuickItem *row = rowOf(item("overridesList"), "Vault Keeper");
    ASSERT_TRUE(row);
    EXPECT_LT(row->opacity(), 1.0) << "a new row fades in";

    Motion::instance().setReduceMotion(true);
    model->skipAgain("org.example.VaultKeeper");
    model->allow("org.example.VaultKeeper", "Vault Keeper");
    QTest::qWait(20);
    row = rowOf(item("overridesList"), "Vault Keeper");
    ASSERT_TRUE(row);
    EXPECT_EQ(row->opacity(), 1.0) << "reduced motion shows it at once";
}

} // namespace
