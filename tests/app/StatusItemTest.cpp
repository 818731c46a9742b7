#include "StatusItemController.h"
#include "TestApp.h"
#include "UpdateAlerts.h"
#include "QmlWindow.h"

#include "FakeClock.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QQmlEngine>

#include <gtest/gtest.h>

using namespace corvane;
using Look = TrayIcons::Look;

namespace {

struct WithApp {
    WithApp() { test::testApp(); }
};

class StatusItem : public ::testing::Test, private WithApp
{
protected:
    QQmlEngine engine;
    QmlWindow popover{engine, QUrl(QStringLiteral("qrc:/none.qml"))};
    FakeClock clock;
    StatusItemController status{clock, popover};
};

} // namespace

TEST_F(StatusItem, FlashesForAMomentOnlyWhenAllowed)
{
    bool allowed = true;
    status.setFlashAllowed([&] { return allowed; });
    status.flash();
    EXPECT_EQ(status.look(), Look::flash);
    clock.advance(StatusItemController::flashMs - 1);
    EXPECT_EQ(status.look(), Look::flash);
    clock.advance(1);
    EXPECT_EQ(status.look(), Look::normal);

    allowed = false; // the setting is off, or the desktop asks for reduced motion
    status.flash();
    EXPECT_EQ(status.look(), Look::normal);
    EXPECT_EQ(clock.pendingCount(), 0);
}

TEST_F(StatusItem, PausedLookSurvivesAFlashAndTheMenuFollowsThePause)
{
    status.flash();
    status.setPaused(true);
    EXPECT_EQ(status.look(), Look::flash) << "a running flash finishes first";
    clock.advance(StatusItemController::flashMs);
    EXPECT_EQ(status.look(), Look::paused);

    QStringList requests;
    QObject::connect(&status, &StatusItemController::pauseForTenMinutesRequested, [&] { requests << "ten"; });
    QObject::connect(&status, &StatusItemController::resumeRequested, [&] { requests << "resume"; });
    QAction *second = status.menu()->actions().at(2);
    EXPECT_EQ(second->text(), QStringLiteral("Resume"));
    second->trigger();
    status.setPaused(false);
    EXPECT_EQ(second->text(), QStringLiteral("Pause for 10 Minutes"));
    second->trigger();
    EXPECT_EQ(requests, (QStringList{"resume", "ten"}));
    EXPECT_EQ(status.look(), Look::normal);
}

TEST(UpdateAlerts, ShowFeedTextsAsPlainTextAndOfferTheRightAction)
{
    test::testApp();
    FakeClock clock;
    Updater updater({QUrl(), QStringLiteral("3"), QStringLiteral("/usr/bin"), QStringLiteral("corvane"), {}}, clock);
    QList<QUrl> opened;
    UpdateAlerts alerts(
        updater, [&](const QUrl &url) { opened.append(url); }, [](const QString &) {});

    Release release;
    release.version = QStringLiteral("<b>9.0</b>");
    release.build = 9;
    release.url = QUrl(QStringLiteral("https://example.org/corvane.zip"));
    release.notes = QStringLiteral("<img src=x onerror=alert(1)> Faster search");
    auto box = alerts.checkAlert(Updater::Outcome::updateAvailable, release, {});
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_TRUE(box->text().contains(release.notes));
    EXPECT_TRUE(box->text().contains(QStringLiteral("<b>9.0</b>")));

    // /usr/bin belongs to the package manager: the offer is the download page, never an install.
    QPushButton *offer = nullptr;
    for (QAbstractButton *button : box->buttons()) {
        if (box->buttonRole(button) == QMessageBox::AcceptRole)
            offer = qobject_cast<QPushButton *>(button);
    }
    ASSERT_TRUE(offer);
    EXPECT_EQ(offer->text(), QStringLiteral("Open Download Page"));
    offer->click();
    EXPECT_EQ(opened, QList<QUrl>{release.url});

    auto none = alerts.checkAlert(Updater::Outcome::notConfigured, {}, {});
    EXPECT_TRUE(none->text().contains(QStringLiteral("No update source is configured")));
}
