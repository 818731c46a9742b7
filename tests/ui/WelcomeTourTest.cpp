#include "WelcomeTourModel.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace corvane;

TEST(WelcomeTour, PagingFromWelcomeToLastPage)
{
    WelcomeTourModel tour;
    QSignalSpy dismissed(&tour, &WelcomeTourModel::dismissRequested);
    ASSERT_EQ(tour.stepCount(), 6);

    EXPECT_EQ(tour.page(), 0);
    EXPECT_EQ(tour.primaryTitle(), "Take the Tour");
    EXPECT_EQ(tour.primaryWidth(), 150);
    EXPECT_TRUE(tour.showSkip());
    EXPECT_FALSE(tour.showBack());
    EXPECT_EQ(tour.litDot(), 0);
    EXPECT_TRUE(tour.stepValue().isEmpty());
    tour.back(); // nothing before the welcome page
    EXPECT_EQ(tour.page(), 0);

    for (int page = 1; page <= 5; ++page) {
        tour.primary();
        EXPECT_EQ(tour.page(), page);
        EXPECT_EQ(tour.primaryTitle(), "Next");
        EXPECT_EQ(tour.litDot(), page);
        EXPECT_TRUE(tour.showBack());
        EXPECT_EQ(tour.stepValue().value("title").toString(), WelcomeTourModel::steps()[std::size_t(page - 1)].title);
    }
    tour.primary();
    EXPECT_EQ(tour.page(), 6);
    EXPECT_EQ(tour.primaryTitle(), "Start Using Corvane");
    EXPECT_EQ(tour.primaryWidth(), 210);
    EXPECT_FALSE(tour.showSkip());
    EXPECT_TRUE(tour.showBack());
    EXPECT_EQ(tour.litDot(), -1); // six dots for seven pages: the last lights none
    EXPECT_EQ(dismissed.count(), 0);

    tour.skip(); // not offered on the last page
    EXPECT_EQ(dismissed.count(), 0);
    tour.primary();
    EXPECT_EQ(dismissed.count(), 1);
    EXPECT_EQ(tour.page(), 6);

    tour.back();
    EXPECT_EQ(tour.page(), 5);
    tour.skip();
    EXPECT_EQ(dismissed.count(), 2);
    tour.restart();
    EXPECT_EQ(tour.page(), 0);
}

TEST(WelcomeTour, WordsFitALinuxDesktop)
{
    WelcomeTourModel tour;
    QStringList texts{tour.introText()};
    for (const QVariant &row : tour.privacyRows())
        texts << row.toMap().value("text").toString();
    for (const WelcomeTourModel::Step &step : WelcomeTourModel::steps())
        texts << step.title << step.text << step.keys;
    for (const QString &text : texts) {
        for (const char *macOnly : {"⌘", "⌥", "⇧", "Mac", "Safari", "AirDrop", "Keychain", "Apple"})
            EXPECT_FALSE(text.contains(QString::fromUtf8(macOnly))) << text.toStdString();
    }
    EXPECT_EQ(WelcomeTourModel::steps().front().keys, "Super+Shift+V");
    EXPECT_TRUE(tour.introText().contains("this computer"));
}
