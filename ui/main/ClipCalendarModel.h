#pragma once

#include "CalendarMonth.h"

#include "ClipboardStore.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QSet>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/**
 * @brief The day calendar's cells for QML: blanks, then the month's days, each knowing whether it
 * is today and whether the history holds clips from it. Only days with clips can be picked.
 */
class ClipCalendarModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(corvane::ClipboardStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(QString title READ title NOTIFY monthChanged)
    Q_PROPERTY(QStringList weekdaySymbols READ weekdaySymbols NOTIFY monthChanged)

public:
    enum Role { DayRole = Qt::UserRole + 1, IsBlankRole, IsTodayRole, HasClipsRole, AccessibleNameRole };

    explicit ClipCalendarModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    ClipboardStore *store() const { return m_store; }
    void setStore(ClipboardStore *store);
    /** The locale of names and of the week's first day; the system's by default. */
    void setLocale(const QLocale &locale);
    const CalendarMonth &month() const { return m_month; }
    QString title() const { return m_month.title(m_locale); }
    QStringList weekdaySymbols() const { return m_month.weekdaySymbols(m_locale); }

    /** Shows the month of today again (each time the calendar opens). */
    Q_INVOKABLE void showCurrentMonth();
    Q_INVOKABLE void shiftMonth(int months);
    /** Filters the list to the cell's day and reports `picked` once; false for a day without clips. */
    Q_INVOKABLE bool pick(int cell);

signals:
    void storeChanged();
    void monthChanged();
    void picked();

private:
    QDate today() const;
    void setMonth(const CalendarMonth &month);
    void reloadDays();

    QPointer<ClipboardStore> m_store;
    QLocale m_locale;
    CalendarMonth m_month;
    QSet<QDate> m_days;
    QMetaObject::Connection m_clipsConnection;
};

} // namespace corvane
