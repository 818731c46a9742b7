#include "CalendarMonth.h"

namespace corvane {

CalendarMonth CalendarMonth::containing(const QDate &date, Qt::DayOfWeek firstWeekday)
{
    return {QDate(date.year(), date.month(), 1), firstWeekday};
}

int CalendarMonth::leadingBlanks() const { return (first.dayOfWeek() - int(firstWeekday) + 7) % 7; }

QDate CalendarMonth::dateAt(int cell) const
{
    const int day = cell - leadingBlanks();
    return day >= 0 && day < dayCount() ? first.addDays(day) : QDate();
}

CalendarMonth CalendarMonth::shifted(int months) const { return {first.addMonths(months), firstWeekday}; }

QList<Qt::DayOfWeek> CalendarMonth::weekdays() const
{
    QList<Qt::DayOfWeek> days;
    for (int i = 0; i < 7; ++i)
        days << Qt::DayOfWeek((int(firstWeekday) - 1 + i) % 7 + 1);
    return days;
}

QStringList CalendarMonth::weekdaySymbols(const QLocale &locale) const
{
    QStringList symbols;
    for (Qt::DayOfWeek day : weekdays())
        symbols << locale.standaloneDayName(day, QLocale::NarrowFormat);
    return symbols;
}

QString CalendarMonth::title(const QLocale &locale) const
{
    return locale.standaloneMonthName(first.month(), QLocale::LongFormat) + u' ' + QString::number(first.year());
}

} // namespace corvane
