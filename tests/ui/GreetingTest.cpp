#include "FakeDesktopServices.h"
#include "Greeting.h"
#include "UserGreeting.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(Greeting, FirstNameFromFullName)
{
    const QString decomposedZoe = QStringLiteral("ZOE\u0308 Smith"); // E + combining diaeresis
    const std::pair<QString, QString> cases[] = {
        {"Dr. Maria Lopez", "Maria"},
        {"J. R. Smith", "Smith"},
        {"al", "Al"},
        {"DJ", "DJ"},
        {"", "there"},
        {"   ", "there"},
        {",,,", "there"}, // an empty GECOS name as adduser writes it
        {". , ..", "there"},
        {"Mr. , Bond", "Bond"},
        {"Shri Ram Kumar", "Ram"},
        {"PROF SIR", "PROF"},
        {"élodie", "Élodie"},
        {decomposedZoe, "Smith"}, // three letters a reader sees, though four UTF-16 units
        {"ANNA lee", "ANNA"},
        {"Jo", "Jo"},
    };
    for (const auto &[fullName, first] : cases)
        EXPECT_EQ(Greeting::firstNameFromFullName(fullName), first) << fullName.toStdString();
}

TEST(Greeting, GreetingByHour)
{
    const std::pair<int, const char *> cases[] = {
        {0, "Hello"},           {4, "Hello"},         {5, "Good morning"},  {11, "Good morning"}, {12, "Good afternoon"},
        {16, "Good afternoon"}, {17, "Good evening"}, {21, "Good evening"}, {22, "Hello"},        {23, "Hello"},
    };
    for (const auto &[hour, text] : cases) {
        EXPECT_EQ(Greeting::greetingForHour(hour), text) << hour;
        const QDateTime local(QDate(2026, 3, 9), QTime(hour, 30), Qt::LocalTime);
        EXPECT_EQ(Greeting::greeting(local), text) << hour;
    }
}

TEST(Greeting, LinesReadTheDesktopOnEveryCall)
{
    FakeDesktopServices desktop;
    desktop.setUserFullName("Dr. Maria Lopez");
    desktop.setComputerName("maria-thinkpad");
    UserGreeting &greeting = UserGreeting::instance();
    greeting.setDesktopServices(&desktop);
    const QDateTime morning(QDate(2026, 3, 9), QTime(9, 0), Qt::LocalTime);
    EXPECT_EQ(greeting.greetingLine(morning), "Good morning, Maria");
    EXPECT_EQ(greeting.welcomeLine(), "Hey Maria, welcome");
    EXPECT_EQ(greeting.computerName(), "maria-thinkpad");

    desktop.setUserFullName(",,,");
    desktop.setComputerName("Computer");
    EXPECT_EQ(greeting.greetingLine(morning.addSecs(4 * 3600)), "Good afternoon, there");
    EXPECT_EQ(greeting.welcomeLine(), "Hey there, welcome");
    EXPECT_EQ(greeting.computerName(), "Computer");
    greeting.setDesktopServices(nullptr);
}

TEST(Greeting, CountsLine)
{
    EXPECT_EQ(Greeting::countsLine(0, 0), "0 items · 0 pinned");
    EXPECT_EQ(Greeting::countsLine(1, 1), "1 item · 1 pinned");
    EXPECT_EQ(Greeting::countsLine(100000, 20), "100000 items · 20 pinned");
}
