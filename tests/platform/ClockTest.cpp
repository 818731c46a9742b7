#include "FakeClock.h"
#include "SystemClock.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStringList>
#include <QTest>

using namespace corvane;

TEST(FakeClock, FiresDueCallbacksInDueOrderWithTimeAtTheirDueMoment)
{
    FakeClock clock;
    const QDateTime start = clock.now();
    QStringList fired;
    QList<qint64> at;
    auto record = [&](const QString &name) {
        return [&, name] {
            fired << name;
            at << start.msecsTo(clock.now());
        };
    };
    auto late = clock.schedule(300, record("late"));
    auto early = clock.schedule(100, record("early"));
    auto tieFirst = clock.schedule(200, record("tie-1"));
    auto tieSecond = clock.schedule(200, record("tie-2"));

    clock.advance(250);
    EXPECT_EQ(fired, (QStringList{"early", "tie-1", "tie-2"}));
    EXPECT_EQ(at, (QList<qint64>{100, 200, 200}));
    EXPECT_EQ(start.msecsTo(clock.now()), 250);
    EXPECT_EQ(clock.pendingCount(), 1);
    EXPECT_FALSE(early->isActive());
    EXPECT_TRUE(late->isActive());

    clock.advance(50);
    EXPECT_EQ(fired.last(), "late");
    EXPECT_EQ(clock.pendingCount(), 0);
}

TEST(FakeClock, CancelledOrDestroyedHandlesNeverFire)
{
    FakeClock clock;
    int fired = 0;
    auto cancelled = clock.schedule(10, [&] { ++fired; });
    cancelled->cancel();
    clock.schedule(10, [&] { ++fired; }).reset();
    auto repeating = clock.scheduleRepeating(10, [&] { ++fired; });
    clock.advance(35);
    EXPECT_EQ(fired, 3);
    repeating.reset();
    clock.advance(100);
    EXPECT_EQ(fired, 3);
    EXPECT_EQ(clock.pendingCount(), 0);
}

TEST(FakeClock, CallbacksMayScheduleCancelOrDestroyTimersWhileAdvancing)
{
    FakeClock clock;
    QStringList fired;
    std::unique_ptr<TimerHandle> chained;
    std::unique_ptr<TimerHandle> victim = clock.schedule(50, [&] { fired << "victim"; });
    std::unique_ptr<TimerHandle> self;
    auto first = clock.schedule(10, [&] {
        fired << "first";
        chained = clock.schedule(20, [&] { fired << "chained"; });
        victim->cancel();
        self.reset(); // a callback destroying its own handle
    });
    self = std::move(first);
    clock.advance(100);
    EXPECT_EQ(fired, (QStringList{"first", "chained"}));
}

TEST(FakeClock, RepeatingTimerFiresOncePerIntervalAndInterleavesWithOthers)
{
    FakeClock clock;
    QStringList fired;
    auto poll = clock.scheduleRepeating(250, [&] { fired << "poll"; });
    auto notice = clock.schedule(600, [&] { fired << "notice"; });
    clock.advance(1000);
    EXPECT_EQ(fired, (QStringList{"poll", "poll", "notice", "poll", "poll"}));
}

TEST(FakeClock, SetNowMovesTheWallClockWithoutFiring)
{
    FakeClock clock;
    int fired = 0;
    auto timer = clock.schedule(1000, [&] { ++fired; });
    const QDateTime later(QDate(2030, 5, 1), QTime(8, 0), Qt::UTC);
    clock.setNow(later);
    EXPECT_EQ(clock.now(), later);
    EXPECT_EQ(fired, 0);
    clock.advance(1000);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(clock.now(), later.addMSecs(1000));
}

TEST(SystemClock, FiresCancelsAndSurvivesACallbackDestroyingItsHandle)
{
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    SystemClock clock;
    QStringList fired;
    std::unique_ptr<TimerHandle> self;
    self = clock.schedule(5, [&] {
        fired << "once";
        self.reset();
    });
    auto cancelled = clock.schedule(5, [&] { fired << "cancelled"; });
    cancelled->cancel();
    int ticks = 0;
    auto poll = clock.scheduleRepeating(5, [&] { ++ticks; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 2000));
    poll.reset();
    const int ticksWhenStopped = ticks;
    QTest::qWait(30);
    EXPECT_EQ(fired, QStringList{"once"});
    EXPECT_EQ(ticks, ticksWhenStopped);
    EXPECT_LE(qAbs(clock.now().msecsTo(QDateTime::currentDateTime())), 1000);
}
