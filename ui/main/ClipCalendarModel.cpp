#include "ClipCalendarModel.h"

namespace corvane {

ClipCalendarModel::ClipCalendarModel(QObject *parent)
    : QAbstractListModel(parent)
{
    m_month = CalendarMonth::containing(today(), m_locale.firstDayOfWeek());
}

int ClipCalendarModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_month.cellCount(); }

QHash<int, QByteArray> ClipCalendarModel::roleNames() const
{
    return {{DayRole, "day"},
            {IsBlankRole, "isBlank"},
            {IsTodayRole, "isToday"},
            {HasClipsRole, "hasClips"},
            {AccessibleNameRole, "accessibleName"}};
}

QVariant ClipCalendarModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const QDate date = m_month.dateAt(index.row());
    switch (role) {
    case DayRole:
        return date.isValid() ? date.day() : 0;
    case IsBlankRole:
        return !date.isValid();
    case IsTodayRole:
        return date.isValid() && date == today();
    case HasClipsRole:
        return m_days.contains(date);
    case AccessibleNameRole:
        return date.isValid() ? m_locale.toString(date, QLocale::LongFormat) : QString();
    default:
        return {};
    }
}

void ClipCalendarModel::setStore(ClipboardStore *store)
{
    if (store == m_store)
        return;
    disconnect(m_clipsConnection);
    m_store = store;
    if (store)
        m_clipsConnection = connect(store, &ClipboardStore::clipsChanged, this, &ClipCalendarModel::reloadDays);
    emit storeChanged();
    setMonth(CalendarMonth::containing(today(), m_month.firstWeekday));
    reloadDays();
}

void ClipCalendarModel::setLocale(const QLocale &locale)
{
    m_locale = locale;
    setMonth({m_month.first, locale.firstDayOfWeek()});
}

QDate ClipCalendarModel::today() const
{
    return m_store ? m_store->now().toTimeZone(m_store->timeZone()).date() : QDate::currentDate();
}

void ClipCalendarModel::showCurrentMonth() { setMonth(CalendarMonth::containing(today(), m_month.firstWeekday)); }

void ClipCalendarModel::shiftMonth(int months) { setMonth(m_month.shifted(months)); }

void ClipCalendarModel::setMonth(const CalendarMonth &month)
{
    beginResetModel();
    m_month = month;
    endResetModel();
    emit monthChanged();
}

void ClipCalendarModel::reloadDays()
{
    QSet<QDate> days;
    if (m_store) {
        for (const QDateTime &start : m_store->daysWithClips())
            days.insert(start.toTimeZone(m_store->timeZone()).date());
    }
    if (days == m_days)
        return;
    m_days = std::move(days);
    if (rowCount() > 0)
        emit dataChanged(index(0), index(rowCount() - 1), {HasClipsRole});
}

bool ClipCalendarModel::pick(int cell)
{
    const QDate date = m_month.dateAt(cell);
    if (!m_store || !m_days.contains(date))
        return false;
    // The day's real start: a day whose midnight is skipped by DST starts at 01:00.
    m_store->setFilter(ClipFilter::ofDay(double(date.startOfDay(m_store->timeZone()).toSecsSinceEpoch())));
    emit picked();
    return true;
}

} // namespace corvane
