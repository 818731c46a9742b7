#pragma once

#include <QDate>
#include <QList>
#include <QLocale>
#include <QSet>
#include <QStringList>

namespace corvane {

/**
 * @brief One month of the day calendar: leading blanks so that day 1 sits under its weekday,
 * then the days. Weekdays are Qt's (1 = Monday … 7 = Sunday) throughout.
 */
struct CalendarMonth {
    /** The first day of the month shown. */
    QDate first;
    /** The weekday that starts a week (the locale's). */
    Qt::DayOfWeek firstWeekday = Qt::Monday;

    static CalendarMonth containing(const QDate &date, Qt::DayOfWeek firstWeekday);

    /** Blank cells before day 1. */
    int leadingBlanks() const;
    int dayCount() const { return first.daysInMonth(); }
    /** Cells: the blanks, then one per day. */
    int cellCount() const { return leadingBlanks() + dayCount(); }
    int rowCount() const { return (cellCount() + 6) / 7; }
    /** The date of a cell, or an invalid date for a blank. */
    QDate dateAt(int cell) const;
    /** The month before or after, by `months`. */
    CalendarMonth shifted(int months) const;
    /** The weekday columns, starting with `firstWeekday`. */
    QList<Qt::DayOfWeek> weekdays() const;
    /** The columns' narrow names ("M", "T", …) in `locale`. */
    QStringList weekdaySymbols(const QLocale &locale) const;
    /** "March 2026" in `locale`. */
    QString title(const QLocale &locale) const;
};

} // namespace corvane
