#include "CalendarMonth.h"
#include "ClipCalendarModel.h"
#include "ClipListModel.h"
#include "PhotoGridLayout.h"
#include "PhotoRowsModel.h"
#include "StoreFixture.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

using namespace corvane;

TEST(CalendarMonthGrid, BlanksRowsAndWeekdaysForMondayAndSundayFirstLocales)
{
    // June 2025 starts on a Sunday.
    const CalendarMonth monday = CalendarMonth::containing(QDate(2025, 6, 17), Qt::Monday);
    EXPECT_EQ(monday.first, QDate(2025, 6, 1));
    EXPECT_EQ(monday.leadingBlanks(), 6);
    EXPECT_EQ(monday.rowCount(), 6); // 6 blanks + 30 days
    EXPECT_FALSE(monday.dateAt(5).isValid());
    EXPECT_EQ(monday.dateAt(6), QDate(2025, 6, 1));
    EXPECT_FALSE(monday.dateAt(36).isValid());
    const CalendarMonth sunday{monday.first, Qt::Sunday};
    EXPECT_EQ(sunday.leadingBlanks(), 0);
    EXPECT_EQ(sunday.rowCount(), 5);

    EXPECT_EQ(CalendarMonth::containing(QDate(2026, 8, 1), Qt::Monday).rowCount(), 6); // 31 days from a Saturday
    EXPECT_EQ(CalendarMonth::containing(QDate(2024, 2, 9), Qt::Monday).dayCount(), 29);
    EXPECT_EQ(CalendarMonth::containing(QDate(2025, 2, 9), Qt::Monday).dayCount(), 28);
    EXPECT_EQ(CalendarMonth::containing(QDate(2026, 1, 5), Qt::Monday).shifted(-1).first, QDate(2025, 12, 1));
    EXPECT_EQ(CalendarMonth::containing(QDate(2025, 12, 5), Qt::Monday).shifted(1).first, QDate(2026, 1, 1));

    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale american(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(german.firstDayOfWeek(), Qt::Monday);
    EXPECT_EQ(american.firstDayOfWeek(), Qt::Sunday);
    const QStringList us = CalendarMonth{monday.first, american.firstDayOfWeek()}.weekdaySymbols(american);
    const QStringList sundayFirst{"S", "M", "T", "W", "T", "F", "S"};
    EXPECT_EQ(us, sundayFirst);
    const CalendarMonth germanMonth{monday.first, german.firstDayOfWeek()};
    EXPECT_EQ(germanMonth.weekdaySymbols(german).first(), "M");
    EXPECT_EQ(monday.title(american), "June 2025");
}

class ClipCalendarTest : public test::StoreFixture
{ };

TEST_F(ClipCalendarTest, OnlyDaysWithClipsPickAndPickingFiltersToTheDayOnce)
{
    addMany(2); // today, minutes ago
    ClipCalendarModel model;
    model.setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setStore(store.get());
    const QDate today = clock.now().toUTC().date();
    const int todayCell = model.month().leadingBlanks() + today.day() - 1;
    const QModelIndex cell = model.index(todayCell);
    EXPECT_TRUE(cell.data(ClipCalendarModel::IsTodayRole).toBool());
    EXPECT_TRUE(cell.data(ClipCalendarModel::HasClipsRole).toBool());

    QSignalSpy picked(&model, &ClipCalendarModel::picked);
    const int otherCell = today.day() > 1 ? todayCell - 1 : todayCell + 1;
    EXPECT_FALSE(model.pick(otherCell)); // no clips that day
    EXPECT_EQ(picked.size(), 0);
    EXPECT_TRUE(model.pick(todayCell));
    EXPECT_EQ(picked.size(), 1);
    EXPECT_EQ(store->filter(), ClipFilter::ofDay(double(today.startOfDay(QTimeZone::utc()).toSecsSinceEpoch())));
    EXPECT_EQ(store->visibleClips().size(), 2);

    model.shiftMonth(-13);
    EXPECT_EQ(model.month().first, QDate(today.year() - 1, today.month(), 1).addMonths(-1));
    model.showCurrentMonth();
    EXPECT_EQ(model.month().first.month(), today.month());
}

TEST(CalendarDaylightSaving, ADayWhoseMidnightIsSkippedStartsWhenItReallyBegins)
{
    // Santiago skipped 2024-09-08 00:00 (clocks went to 01:00).
    const QTimeZone santiago("America/Santiago");
    ASSERT_TRUE(santiago.isValid());
    const QDateTime start = QDate(2024, 9, 8).startOfDay(santiago);
    EXPECT_EQ(start.date(), QDate(2024, 9, 8));
    EXPECT_EQ(start.time(), QTime(1, 0));
    const CalendarMonth month = CalendarMonth::containing(start.date(), Qt::Monday);
    EXPECT_EQ(month.dateAt(month.leadingBlanks() + 7), QDate(2024, 9, 8));
}

TEST(PhotoGridColumnsTest, ColumnsAndWidthsByPaneWidth)
{
    auto columns = [](double pane) { return PhotoGridColumns::forPane(pane + 40); };
    EXPECT_EQ(columns(-40).count, 1);
    EXPECT_EQ(columns(0).count, 1);
    EXPECT_EQ(columns(149).count, 1);
    EXPECT_EQ(columns(311).count, 1);
    EXPECT_EQ(columns(311).width, 240);
    EXPECT_EQ(columns(312).count, 2);
    EXPECT_EQ(columns(473.9).count, 2);
    EXPECT_EQ(columns(474).count, 3);
    for (double pane : {0.0, 149.0, 311.0, 312.0, 473.9, 474.0, 1000.0, 2000.0}) {
        const PhotoGridColumns c = columns(pane);
        EXPECT_LE(c.width, 240) << pane;
        if (c.count >= 2) {
            EXPECT_GE(c.width, 150) << pane;
        }
    }
}

TEST(PhotoGridRows, SectionsCutIntoRowsInOrder)
{
    const auto rows = chunkPhotoRows({1, 2, 3, 4, 5, 6}, {0, 0, 0, 0, 0, 1}, 2);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (PhotoRow{0, {1, 2}}));
    EXPECT_EQ(rows[2], (PhotoRow{0, {5}})); // a partial last row
    EXPECT_EQ(rows[3], (PhotoRow{1, {6}})); // a new section starts a row
    EXPECT_EQ(chunkPhotoRows({1, 2, 3}, {0, 0, 0}, 3).size(), 1u);
    EXPECT_EQ(photoCaption(QStringLiteral("Image 640 × 480")), "640 × 480");
}

class PhotoRowsModelTest : public test::StoreFixture
{ };

TEST_F(PhotoRowsModelTest, FollowsTheListAndRechunksWhenColumnsChange)
{
    const QList<std::int64_t> ids = addMany(5);
    PhotoRowsModel rows;
    QAbstractItemModelTester tester(&rows, QAbstractItemModelTester::FailureReportingMode::Fatal);
    rows.setPaneWidth(40 + 312); // two columns
    rows.setSource(store->clipModel());
    EXPECT_EQ(rows.rowCount(), 3);
    EXPECT_EQ(rows.rowIndexForClip(ids[4]), 2);
    rows.setPaneWidth(40 + 474); // three
    EXPECT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.rowIndexForClip(ids[4]), 1);

    QSignalSpy reset(&rows, &QAbstractItemModel::modelReset);
    store->deleteClip(ids[0]);
    rows.rebuild();
    EXPECT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.rowIndexForClip(ids[3]), 0);
    store->select(ids[1]);
    rows.rebuild();
    EXPECT_TRUE(rows.index(0).data(PhotoRowsModel::TilesRole).toList()[0].toMap()["isSelected"].toBool());
    EXPECT_EQ(reset.size(), 0);
}

class ClipListSections : public test::StoreFixture
{ };

TEST_F(ClipListSections, RepeatedTitlesGetDistinctKeysAndCountsFollowReloads)
{
    // Pinned ordered by pin date: today, yesterday, today again.
    const auto a = add(ClipGroup::text, QStringLiteral("a"), 60);
    const auto b = add(ClipGroup::text, QStringLiteral("b"), 86400 + 60);
    const auto c = add(ClipGroup::text, QStringLiteral("c"), 120);
    const double now = clock.now().toMSecsSinceEpoch() / 1000.0;
    store->database()->setPinned(a, true, now - 3);
    store->database()->setPinned(b, true, now - 2);
    store->database()->setPinned(c, true, now - 1);
    store->reload();
    store->setFilter(ClipFilter::pinned());
    ClipListModel *model = store->clipModel();
    ASSERT_EQ(model->rowCount(), 3);
    QStringList keys;
    for (int row = 0; row < 3; ++row)
        keys << model->index(row).data(ClipListModel::SectionKeyRole).toString();
    EXPECT_EQ(model->index(0).data(ClipListModel::SectionTitleRole), model->index(2).data(ClipListModel::SectionTitleRole));
    EXPECT_NE(keys[0], keys[2]);
    EXPECT_EQ(model->sectionSize(0), 1);

    store->setFilter(ClipFilter::all());
    QSignalSpy sections(model, &ClipListModel::sectionsChanged);
    add(ClipGroup::text, QStringLiteral("d"), 10);
    store->reload();
    EXPECT_EQ(sections.size(), 1);
    const int todaySection = model->index(model->rowCount() - 1).data(ClipListModel::SectionIdRole).toInt();
    EXPECT_EQ(model->sectionSize(todaySection), 1);
    EXPECT_EQ(model->sectionStart(todaySection), model->rowCount() - 1);
}
