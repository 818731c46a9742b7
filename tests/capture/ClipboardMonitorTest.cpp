#include "CaptureTestSupport.h"
#include "ClipboardMonitor.h"
#include "FakeActiveWindow.h"
#include "FakeClipboardService.h"
#include "FakeClock.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

ClipboardContent text(const QString &value)
{
    ClipboardContent content;
    content.text = value;
    return content;
}

struct Skip {
    QString app;
    QString reason;
};

class ClipboardMonitorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::ensureGuiApplication();
        window.setFrontmostApp(AppIdentity{QStringLiteral("org.gnome.TextEditor"), QStringLiteral("Text Editor"), 42});
        monitor.onCapture = [this](const ClipboardPayload &payload, const std::optional<AppIdentity> &app) {
            captured.append(payload.text);
            apps.append(app ? app->name : QString());
        };
        monitor.onSkip = [this](const QString &app, const QString &reason) { skips.append({app, reason}); };
        monitor.start();
    }

    void tick(int ticks = 1) { clock.advance(qint64(ticks) * ClipboardMonitor::pollInterval); }

    void copy(const QString &value, QStringList formats = {QStringLiteral("text/plain")})
    {
        clipboard.setExternal(formats, text(value));
    }

    FakeClipboardService clipboard;
    FakeActiveWindow window;
    FakeClock clock;
    ClipboardMonitor::Settings settings;
    DirectClipboardSource source{clipboard};
    ClipboardMonitor monitor{clipboard, source, window, clock, [this] { return settings; }};
    QStringList captured;
    QStringList apps;
    QList<Skip> skips;
};

} // namespace

TEST_F(ClipboardMonitorTest, RecordsEachNewCopyOnceOnTheNextTick)
{
    copy(QStringLiteral("first"));
    EXPECT_TRUE(captured.isEmpty()) << "nothing before the timer fires";
    tick();
    tick(4);
    copy(QStringLiteral("second"));
    tick();
    EXPECT_EQ(captured, (QStringList{"first", "second"}));
    EXPECT_EQ(apps, (QStringList{"Text Editor", "Text Editor"}));
}

TEST_F(ClipboardMonitorTest, AReportedChangeIsLookedAtWithoutWaitingForTheTick)
{
    copy(QStringLiteral("reported"));
    QCoreApplication::processEvents();
    EXPECT_EQ(captured, (QStringList{"reported"}));
    tick();
    EXPECT_EQ(captured, (QStringList{"reported"})) << "the tick does not record it again";

    // Our own write reports a change too; it is not recorded.
    monitor.ownChangeCount = [this] { return clipboard.changeCount(); };
    clipboard.bumpChangeCount();
    QCoreApplication::processEvents();
    monitor.stop();
    copy(QStringLiteral("after stop"));
    QCoreApplication::processEvents();
    EXPECT_EQ(captured, (QStringList{"reported"}));
}

TEST_F(ClipboardMonitorTest, CopiesMadeBeforeStartAreNotRecorded)
{
    monitor.stop();
    copy(QStringLiteral("old"));
    monitor.start();
    tick(2);
    EXPECT_TRUE(captured.isEmpty());
}

TEST_F(ClipboardMonitorTest, OwnWritesAreSkippedButUnrecordedWritesAreCaptured)
{
    // Copying a clip back records the change count.
    qint64 own = 0;
    monitor.ownChangeCount = [&] { return own; };
    own = clipboard.writeText(QStringLiteral("copied back"));
    tick();
    // The colour row and QR card write without recording, so those copies become clips.
    clipboard.writeText(QStringLiteral("#FF8800"));
    tick();
    EXPECT_EQ(captured, QStringList{"#FF8800"});
    EXPECT_EQ(clipboard.readCount(), 1) << "an own write is not even read";
}

TEST_F(ClipboardMonitorTest, RetriesEveryTickAndGivesUpAfterNineReads)
{
    clipboard.setExternal({QStringLiteral("text/plain")}, text(QString()));
    tick(20);
    EXPECT_EQ(clipboard.readCount(), ClipboardMonitor::maxReads);
    clipboard.setContent(text(QStringLiteral("too late")));
    tick(5);
    EXPECT_TRUE(captured.isEmpty());
}

TEST_F(ClipboardMonitorTest, DataArrivingDuringRetriesIsCapturedOnce)
{
    clipboard.setExternal({QStringLiteral("text/plain")}, text(QString()));
    tick(5);
    clipboard.setContent(text(QStringLiteral("arrived")));
    tick(10);
    EXPECT_EQ(captured, QStringList{"arrived"});
    EXPECT_EQ(clipboard.readCount(), 6);
}

TEST_F(ClipboardMonitorTest, RetryIsAbandonedWhenANewerCopyArrives)
{
    // A slow owner in an allowed app: nothing readable yet.
    clipboard.setExternal({QStringLiteral("text/plain")}, text(QString()));
    tick(2);
    // Then a password manager copies; its copy must be judged on its own, not read as the retry.
    window.setFrontmostApp(AppIdentity{QStringLiteral("org.keepassxc.KeePassXC"), QStringLiteral("KeePassXC"), 7});
    copy(QStringLiteral("hunter2"));
    tick(12);
    EXPECT_TRUE(captured.isEmpty());
    ASSERT_EQ(skips.size(), 1);
    EXPECT_EQ(skips[0].reason, QStringLiteral("Password manager"));
    EXPECT_EQ(skips[0].app, QStringLiteral("KeePassXC"));
}

TEST_F(ClipboardMonitorTest, NewerConcealedCopyIsJudgedNotReadByTheRetry)
{
    clipboard.setExternal({QStringLiteral("text/plain")}, text(QString()));
    tick();
    // The owner is replaced by one offering a concealed secret: judged afresh, never read.
    clipboard.setExternal({QStringLiteral("text/plain"), QStringLiteral("x-kde-passwordManagerHint")}, text("s3cret"));
    tick(3);
    EXPECT_TRUE(captured.isEmpty());
    ASSERT_EQ(skips.size(), 1);
    EXPECT_EQ(skips[0].reason, QStringLiteral("Hidden content"));
}

TEST_F(ClipboardMonitorTest, VerdictMatrix)
{
    struct Case {
        const char *name;
        std::optional<AppIdentity> app;
        QStringList formats;
        QStringList exclusions;
        QStringList overrides;
        bool secureInput;
        QString reason; ///< empty: recorded, "-": skipped silently
    };
    const AppIdentity editor{QStringLiteral("org.gnome.TextEditor"), QStringLiteral("Text Editor"), 1};
    const AppIdentity keepass{QStringLiteral("org.KeePassXC.KeePassXC"), QStringLiteral("KeePassXC"), 2};
    const AppIdentity vault{QStringLiteral("com.example.vaultkeeper"), QStringLiteral("Vault Keeper"), 3};
    const AppIdentity onePassword{QStringLiteral("1password"), QStringLiteral("1Password"), 4};
    const QStringList plain{QStringLiteral("text/plain")};
    const Case cases[] = {
        {"ordinary copy", editor, plain, {}, {}, false, ""},
        {"concealed marker", editor, {"text/plain", "x-kde-passwordManagerHint"}, {}, {}, false, "Hidden content"},
        {"nspasteboard concealed", editor, {"text/plain", "org.nspasteboard.ConcealedType"}, {}, {}, false, "Hidden content"},
        {"secure input", editor, plain, {}, {}, true, "Password field active"},
        {"protected id in mixed case", keepass, plain, {}, {}, false, "Password manager"},
        {"override never beats protection", onePassword, plain, {}, {"1password"}, false, "Password manager"},
        {"excluded app, id in another case", editor, plain, {"ORG.GNOME.TEXTEDITOR"}, {}, false, "Excluded app"},
        {"sensitive name", vault, plain, {}, {}, false, "App name suggests passwords"},
        {"sensitive name with override", vault, plain, {}, {"com.example.vaultkeeper"}, false, ""},
        {"transient marker", editor, {"text/plain", "org.nspasteboard.TransientType"}, {}, {}, false, "-"},
        {"no frontmost app", std::nullopt, plain, {}, {}, false, ""},
    };
    for (const Case &c : cases) {
        captured.clear();
        skips.clear();
        window.setFrontmostApp(c.app);
        window.setSecureInputActive(c.secureInput);
        settings.userExclusions = c.exclusions;
        settings.nameRuleOverrides = c.overrides;
        const int readsBefore = clipboard.readCount();
        clipboard.setExternal(c.formats, text(QStringLiteral("payload")));
        tick();
        const bool recorded = QString(c.reason).isEmpty();
        EXPECT_EQ(captured.size(), recorded ? 1 : 0) << c.name;
        EXPECT_EQ(skips.size(), recorded || c.reason == QLatin1String("-") ? 0 : 1) << c.name;
        if (!skips.isEmpty()) {
            EXPECT_EQ(skips[0].reason, QString(c.reason)) << c.name;
        }
        if (!recorded) {
            EXPECT_EQ(clipboard.readCount(), readsBefore) << c.name << ": a skip reads nothing";
        }
    }
}

TEST_F(ClipboardMonitorTest, SkipNamesUnknownAppWhenTheAppHasNoName)
{
    const std::optional<AppIdentity> frontmostApps[] = {std::nullopt, AppIdentity{QStringLiteral("xterm"), QString(), 9}};
    for (const auto &app : frontmostApps) {
        skips.clear();
        window.setFrontmostApp(app);
        copy(QStringLiteral("x"), {QStringLiteral("text/plain"), QStringLiteral("x-kde-passwordManagerHint")});
        tick();
        ASSERT_EQ(skips.size(), 1);
        EXPECT_EQ(skips[0].app, QStringLiteral("Unknown app"));
    }
}

namespace {

/** Holds every answer until the test releases it, as a reader on another thread would. */
class DeferredSource : public ClipboardSource
{
public:
    explicit DeferredSource(ClipboardService &clipboard)
        : m_direct(clipboard)
    {
    }
    void fetchFormats(FormatsDone done) override
    {
        m_pending.push_back([this, done] { m_direct.fetchFormats(done); });
    }
    void fetchPayload(const Formats &formats, bool asImages, PayloadDone done) override
    {
        m_pending.push_back([this, formats, asImages, done] { m_direct.fetchPayload(formats, asImages, done); });
    }
    int pending() const { return int(m_pending.size()); }
    void release()
    {
        auto next = m_pending.front();
        m_pending.erase(m_pending.begin());
        next();
    }

private:
    DirectClipboardSource m_direct;
    std::vector<std::function<void()>> m_pending;
};

} // namespace

TEST(ClipboardMonitorAsync, LateAnswerForAnOlderCopyIsDropped)
{
    test::ensureGuiApplication();
    FakeClipboardService clipboard;
    FakeActiveWindow window;
    FakeClock clock;
    DeferredSource source(clipboard);
    ClipboardMonitor monitor(clipboard, source, window, clock, {});
    QStringList captured;
    QStringList reasons;
    monitor.onCapture = [&](const ClipboardPayload &payload, const auto &) { captured << payload.text; };
    monitor.onSkip = [&](const QString &, const QString &reason) { reasons << reason; };
    monitor.start();

    window.setFrontmostApp(AppIdentity{QStringLiteral("org.gnome.TextEditor"), QStringLiteral("Text Editor"), 1});
    clipboard.setExternal({QStringLiteral("text/plain")}, text(QStringLiteral("notes")));
    clock.advance(ClipboardMonitor::pollInterval);
    clock.advance(ClipboardMonitor::pollInterval * 3);
    ASSERT_EQ(source.pending(), 1) << "no second fetch while one is under way";
    source.release(); // formats judged: recorded, payload read requested
    ASSERT_EQ(source.pending(), 1);

    // A password manager copies before the read runs; that read now sees the secret.
    window.setFrontmostApp(AppIdentity{QStringLiteral("bitwarden"), QStringLiteral("Bitwarden"), 2});
    clipboard.setExternal({QStringLiteral("text/plain")}, text(QStringLiteral("hunter2")));
    source.release();
    EXPECT_TRUE(captured.isEmpty());

    clock.advance(ClipboardMonitor::pollInterval);
    ASSERT_EQ(source.pending(), 1);
    source.release();
    EXPECT_TRUE(captured.isEmpty());
    EXPECT_EQ(reasons, QStringList{"Password manager"});
    EXPECT_EQ(source.pending(), 0) << "a skipped copy is never read";
}
