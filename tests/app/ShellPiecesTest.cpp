#include "DiagnosticsReport.h"
#include "Feedback.h"
#include "LogOutput.h"
#include "PasteQueueModel.h"
#include "PopoverPlacement.h"
#include "ReportFiles.h"
#include "SelfTest.h"
#include "SingleInstance.h"
#include "TestApp.h"

#include "FakeDesktopServices.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrlQuery>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace corvane;

TEST(PopoverPlacement, SitsAtItsAnchorAndStaysOnScreen)
{
    const QRect screen(0, 0, 1600, 1000);
    const QSize size(360, 520);
    struct Case {
        const char *name;
        QRect tray;
        QPoint pointer;
        QRect expected;
    };
    const Case cases[] = {
        {"under an icon in a top panel", QRect(1000, 0, 24, 24), {}, QRect(831, 30, 360, 520)},
        {"above an icon in a bottom panel", QRect(1000, 976, 24, 24), {}, QRect(831, 450, 360, 520)},
        {"clamped at the right edge", QRect(1580, 0, 20, 24), {}, QRect(1240, 30, 360, 520)},
        {"at the pointer without tray geometry", QRect(), QPoint(400, 10), QRect(220, 17, 360, 520)},
        {"pointer near the bottom left", QRect(), QPoint(5, 990), QRect(0, 464, 360, 520)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(popoverGeometry(size, c.tray, c.pointer, screen), c.expected) << c.name;

    const QRect tiny(0, 0, 300, 400);
    const QRect placed = popoverGeometry(size, {}, QPoint(150, 200), tiny);
    EXPECT_EQ(placed.topLeft(), QPoint(0, 0)) << "larger than the screen keeps its corner on it";
}

TEST(PopoverPlacement, PasteQueuePanelKeepsClearOfTheIconAndThePopover)
{
    const QRect screen(0, 28, 1600, 972); // a top panel of 28 pixels
    const QSize panel(300, 200);
    const QRect topIcon(1500, 2, 24, 24);
    const QPoint underTop = pasteQueuePanelPosition(panel, topIcon, screen, 16);
    const QRect placed(underTop, panel);
    EXPECT_FALSE(placed.intersects(topIcon));
    EXPECT_FALSE(placed.intersects(popoverGeometry(QSize(340, 466), topIcon, {}, screen)));
    EXPECT_TRUE(screen.contains(placed));

    const QRect bottomScreen(0, 0, 1600, 972);
    const QRect bottomIcon(1500, 974, 24, 24);
    const QRect aboveBottom(pasteQueuePanelPosition(panel, bottomIcon, bottomScreen, 16), panel);
    EXPECT_FALSE(aboveBottom.intersects(popoverGeometry(QSize(340, 466), bottomIcon, {}, bottomScreen)));
    EXPECT_TRUE(bottomScreen.contains(aboveBottom));
}

TEST(PasteQueueModel, UpdatesRowsInPlaceAndMarksTheCurrentItem)
{
    PasteQueueModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    model.setItems({"a", "b", "c"}, 0);
    EXPECT_EQ(inserted.size(), 1);
    EXPECT_TRUE(model.data(model.index(0), PasteQueueModel::IsCurrentRole).toBool());

    model.setItems({"a", "b", "c"}, 1); // "Next": only the two marks change
    EXPECT_EQ(changed.size(), 2);
    EXPECT_FALSE(model.data(model.index(0), PasteQueueModel::IsCurrentRole).toBool());
    EXPECT_TRUE(model.data(model.index(1), PasteQueueModel::IsCurrentRole).toBool());

    model.setItems({"a"}, 5); // out of range: nothing is current
    EXPECT_EQ(removed.size(), 1);
    EXPECT_EQ(model.currentIndex(), -1);
    model.setItems({}, -1);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(reset.size(), 0);

    const auto roles = model.roleNames();
    EXPECT_EQ(roles.value(PasteQueueModel::TitleRole), "title");
    EXPECT_EQ(roles.value(PasteQueueModel::IsCurrentRole), "isCurrent");
}

TEST(SelfTest, ReportsEachCheckAndFailsOnAnyFailure)
{
    const SelfTest::Report report = SelfTest::run({
        {QStringLiteral("fine"), [] { return std::optional<QString>(); }},
        {QStringLiteral("broken"), [] { return std::optional<QString>(QStringLiteral("wrong answer")); }},
        {QStringLiteral("throws"), []() -> std::optional<QString> { throw std::runtime_error("disk full"); }},
    });
    EXPECT_FALSE(report.passed());
    EXPECT_EQ(report.failureCount(), 2);
    const QString text = report.text();
    EXPECT_TRUE(text.contains(QStringLiteral("\nPASS fine\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nFAIL broken: wrong answer\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\nFAIL throws: disk full\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("3 checks, 1 passed, 2 failed: FAIL")));
    EXPECT_FALSE(SelfTest::run({}).passed()) << "no checks run is no pass";
}

TEST(SelfTest, BuiltInChecksPassOnThisBuild)
{
    const SelfTest::Report report = SelfTest::run();
    EXPECT_TRUE(report.passed()) << report.text().toStdString();
    EXPECT_GE(report.results.size(), 10);
}

TEST(ReportFiles, GoToTheDesktopElseHomeReadableByTheUserOnly)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());

    EXPECT_EQ(ReportFiles::folder(), home.path()) << "no desktop folder yet";
    auto path = ReportFiles::write(QStringLiteral("report.txt"), QStringLiteral("one"));
    ASSERT_TRUE(path);
    EXPECT_EQ(QFileInfo(*path).path(), home.path());

    QDir(home.path()).mkdir(QStringLiteral("Desktop"));
    path = ReportFiles::write(QStringLiteral("report.txt"), QStringLiteral("two"));
    ASSERT_TRUE(path);
    EXPECT_EQ(QFileInfo(*path).path(), home.filePath(QStringLiteral("Desktop")));
    path = ReportFiles::write(QStringLiteral("report.txt"), QStringLiteral("three"));
    QFile file(*path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "three");
    EXPECT_EQ(file.permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
}

TEST(Feedback, MailDraftCarriesTheReportPathIntact)
{
    const QString path = QStringLiteral("/home/ada/My Desktop & #2/50% done+/Corvane Diagnostics.txt");
    const QUrl url = Feedback::mailUrl(QStringLiteral("feedback@corvane.app"), path);
    EXPECT_EQ(url.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(url.path(), QStringLiteral("feedback@corvane.app"));
    const QUrlQuery query(url);
    EXPECT_TRUE(query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded).contains(path));
    EXPECT_TRUE(
        query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded).startsWith(QStringLiteral("Corvane Feedback")));
    EXPECT_EQ(query.queryItems().size(), 2) << "an & in the path must not split the query";
}

TEST(Feedback, WritesTheReportShowsItAndOpensTheDraft)
{
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    FakeDesktopServices desktop;
    EXPECT_TRUE(Feedback::send(desktop, QStringLiteral("report body")).isEmpty());
    const QString expected = QDir(ReportFiles::folder()).filePath(QStringLiteral("Corvane Diagnostics.txt"));
    ASSERT_EQ(desktop.shownInFileManager().size(), 1);
    EXPECT_EQ(desktop.shownInFileManager().first(), QStringList{expected});
    ASSERT_EQ(desktop.openedUrls().size(), 1);
    EXPECT_EQ(desktop.openedUrls().first().scheme(), QStringLiteral("mailto"));
}

TEST(DiagnosticsReport, SaysWhyThereIsNoDatabase)
{
    DiagnosticsInfo info;
    info.version = QStringLiteral("0.1.0");
    info.build = QStringLiteral("7");
    info.databasePath = QStringLiteral("/x/history.sqlite");
    info.databaseError = QStringLiteral("unable to open database file");
    info.clipCount = 12;
    const QString text = DiagnosticsReport::format(info);
    EXPECT_TRUE(text.contains(QStringLiteral("Error: unable to open database file")));
    EXPECT_FALSE(text.contains(QStringLiteral("Clips: 12"))) << "no counts from a database that is not there";
}

TEST(SingleInstance, TakesOverTheSocketACrashedCopyLeftBehind)
{
    test::testApp();
    QTemporaryDir dir;
    const QString socket = dir.filePath(QStringLiteral("corvane.socket"));
    QFile leftover(socket);
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    SingleInstance nextOnly(QStringLiteral("/opt/corvane"), socket);
    EXPECT_EQ(nextOnly.claim(SingleInstance::Command::next), SingleInstance::Outcome::notRunning)
        << "a forwarded command never starts a second Corvane";
    SingleInstance first(QStringLiteral("/opt/corvane"), socket);
    EXPECT_EQ(first.claim(SingleInstance::Command::start), SingleInstance::Outcome::primary) << first.errorString().toStdString();
}

TEST(SingleInstance, NeverListensWhileAnotherCopyHoldsTheLock)
{
    test::testApp();
    QTemporaryDir dir;
    const QString socket = dir.filePath(QStringLiteral("corvane.socket"));
    // Another copy between taking the lock and listening: its socket file must survive.
    SingleInstance starting(QStringLiteral("/opt/corvane"), socket);
    ASSERT_TRUE(starting.lock());
    QFile theirs(socket);
    ASSERT_TRUE(theirs.open(QIODevice::WriteOnly));
    theirs.close();

    SingleInstance second(QStringLiteral("/opt/corvane"), socket, nullptr, 600);
    EXPECT_EQ(second.claim(SingleInstance::Command::start), SingleInstance::Outcome::failed);
    EXPECT_TRUE(QFileInfo(socket).exists());
    starting.release();
    SingleInstance later(QStringLiteral("/opt/corvane"), socket);
    EXPECT_EQ(later.claim(SingleInstance::Command::start), SingleInstance::Outcome::primary) << later.errorString().toStdString();
}

TEST(LogOutput, ControlCharactersAreEscapedSoALineStaysOneWholeLine)
{
    const QString message
        = QStringLiteral("kept \u201Cna\u00EFve\u201D ") + QChar(u'\0') + QStringLiteral("after\n\x1b[31mred\\");
    EXPECT_EQ(LogOutput::escaped(message), QStringLiteral("kept \u201Cna\u00EFve\u201D \\x00after\\x0a\\x1b[31mred\\\\"));
}

TEST(SingleInstance, ForwardingACommandNeverMakesThisCopyTheRunningOne)
{
    test::testApp();
    QTemporaryDir dir;
    const QString socket = dir.filePath(QStringLiteral("corvane.socket"));
    SingleInstance forwarder(QStringLiteral("/opt/corvane"), socket);
    EXPECT_EQ(forwarder.forward(SingleInstance::Command::toggle), SingleInstance::Outcome::notRunning);
    EXPECT_EQ(forwarder.forward(SingleInstance::Command::next), SingleInstance::Outcome::notRunning)
        << "the first forward left nothing listening";
    SingleInstance first(QStringLiteral("/opt/corvane"), socket);
    EXPECT_EQ(first.claim(SingleInstance::Command::start), SingleInstance::Outcome::primary) << first.errorString().toStdString();
}
