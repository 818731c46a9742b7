/*
 * Dates and times in free text. Matching is case-insensitive; the forms understood are:
 *
 *   date     := iso | numeric | dotted | month-day | day-month | relative
 *   iso      := YYYY-MM-DD [("T" | " ") hh:mm [":" ss ["." fraction]] ["Z" | ("+"|"-") hh[":"]mm]]
 *   numeric  := D/M/YYYY or M/D/YYYY (two-digit years too), the order of the locale's short
 *               date format (month first when it starts with M, as in the US)
 *   dotted   := D.M.YYYY, or DD.MM.YY with two digits each
 *   month-day:= month ["."] day [ordinal] ["-" day [ordinal]] [[","] YYYY]    "March 5–7, 2026"
 *   day-month:= day [ordinal | "."] ["-" day] ["of"] month ["."] [[","] YYYY]  "5. März", "5 March"
 *   relative := "today" | "tomorrow" | ("next" | "this" | "on") weekday
 *   month    := English month names and their three-letter forms ("Sept" too), and the locale's
 *               month names; "May" only when written with a capital M
 *   weekday  := English weekday names in full
 *
 *   time     := [prefix] (range | clock)          prefix := "at" | "@" | "from"
 *   range    := h[:mm][am|pm] ("-" | "–" | "to" | "until") h[:mm](am|pm)      "3–5pm", "from 2 to 4pm"
 *             | hh:mm ("-" | "–" | "to" | "until") hh:mm                     "15:00–16:30"
 *   clock    := h[:mm] (am | pm | a.m. | p.m.)    "3pm", "3:30 pm"
 *             | hh:mm                             "15:30"
 *             | "at" h                            "at 5": hours 1-7 are taken as afternoon; not
 *                                                 before a capitalised word ("at 5 Main Street")
 *
 * A date and a time next to each other (only blanks, a comma or "on" between) make one match,
 * in either order: "March 5 at 3pm", "3pm on March 5", "tomorrow 15:30". A time alone is a
 * match only when it has am/pm, a prefix or is a range ("at 15:30", "3–5pm"), and then means
 * today; a bare "15:30" is too often a score, a log stamp or a ratio. A date without a time
 * starts at 12:00, one without a year is in the current year, both in the context's time zone.
 * Ranges set the duration: of the times, or whole days for "March 5–7". Numbers glued to other
 * digits, dots or slashes (versions, IP addresses, fractions) are never dates.
 */
#include "Detectors.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

namespace corvane {
namespace {

struct DatePart {
    qsizetype start = 0, end = 0;
    QDate date;
    int extraDays = 0;            // "March 5–7"
    std::optional<QTime> time;    // ISO forms carry their own time
    std::optional<int> utcOffset; // seconds, ISO with "Z" or an offset
};

struct TimePart {
    qsizetype start = 0, end = 0;
    QTime time;
    std::optional<QTime> until;
    bool strong = false; // may stand alone
};

const QStringList englishMonths
    = {QStringLiteral("january"),   QStringLiteral("february"), QStringLiteral("march"),    QStringLiteral("april"),
       QStringLiteral("may"),       QStringLiteral("june"),     QStringLiteral("july"),     QStringLiteral("august"),
       QStringLiteral("september"), QStringLiteral("october"),  QStringLiteral("november"), QStringLiteral("december")};

const QStringList englishWeekdays
    = {QStringLiteral("monday"), QStringLiteral("tuesday"),  QStringLiteral("wednesday"), QStringLiteral("thursday"),
       QStringLiteral("friday"), QStringLiteral("saturday"), QStringLiteral("sunday")};

/** @brief The locale-dependent expressions, built once per locale and thread. */
struct Grammar {
    QHash<QString, int> months; // lower-case name → 1-12
    QRegularExpression monthDay, dayMonth;
    bool monthFirst = false;

    explicit Grammar(const QLocale &locale)
    {
        for (int m = 1; m <= 12; ++m) {
            const QString name = englishMonths.at(m - 1);
            months.insert(name, m);
            months.insert(name.left(3), m);
            for (const auto format : {QLocale::LongFormat, QLocale::ShortFormat}) {
                for (QString local : {locale.monthName(m, format), locale.standaloneMonthName(m, format)}) {
                    local = local.toLower();
                    if (local.endsWith(u'.'))
                        local.chop(1);
                    if (local.size() >= 3)
                        months.insert(local, m);
                }
            }
        }
        months.insert(QStringLiteral("sept"), 9);
        QStringList names = months.keys();
        // Longest first, so "march" wins over "mar".
        std::sort(names.begin(), names.end(),
                  [](const QString &a, const QString &b) { return a.size() != b.size() ? a.size() > b.size() : a < b; });
        for (QString &name : names)
            name = QRegularExpression::escape(name);
        const QString month = QStringLiteral("(%1)").arg(names.join(u'|'));
        const QString ordinal = QStringLiteral("(?:st|nd|rd|th)?");
        const auto options = QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption;
        monthDay.setPattern(
            QStringLiteral(
                R"((?<![\p{L}\p{N}])%1\.?\s+(\d{1,2})%2(?:\s*[-–]\s*(\d{1,2})%2)?(?:,?\s+(\d{4}))?(?![\p{L}\p{N}]|[.:/]\d))")
                .arg(month, ordinal));
        dayMonth.setPattern(
            QStringLiteral(
                R"((?<![\p{L}\p{N}.,:/])(\d{1,2})(?:%2|\.)?(?:\s*[-–]\s*(\d{1,2})(?:%2|\.)?)?\s+(?:of\s+)?%1\.?(?:,?\s+(\d{4}))?(?![\p{L}\p{N}]|[.:/]\d))")
                .arg(month, QStringLiteral("(?:st|nd|rd|th)")));
        monthDay.setPatternOptions(options);
        dayMonth.setPatternOptions(options);
        monthFirst = locale.dateFormat(QLocale::ShortFormat).trimmed().startsWith(u'M');
    }
};

const Grammar &grammarFor(const QLocale &locale)
{
    thread_local QHash<QString, std::shared_ptr<Grammar>> cache;
    auto &entry = cache[locale.name()];
    if (!entry)
        entry = std::make_shared<Grammar>(locale);
    return *entry;
}

int year(const QString &digits)
{
    const int value = digits.toInt();
    return digits.size() == 2 ? 2000 + value : value;
}

/** "May" is a month only with a capital M ("you may 2 times" is no date). */
bool acceptableMonth(const QString &written)
{
    return written.compare(QLatin1String("may"), Qt::CaseInsensitive) != 0 || written.at(0) == u'M';
}

QList<DatePart> findDateParts(const QString &text, const DetectContext &context)
{
    static const QRegularExpression iso(QStringLiteral(
        R"((?<![\d\-])(\d{4})-(\d{2})-(\d{2})(?:[T ](\d{2}):(\d{2})(?::(\d{2})(?:\.\d+)?)?(Z|[+\-]\d{2}:?\d{2})?)?(?![\d]))"));
    static const QRegularExpression slashed(QStringLiteral(R"((?<![\d/.])(\d{1,2})/(\d{1,2})/(\d{4}|\d{2})(?![\d/]))"));
    static const QRegularExpression dotted(QStringLiteral(R"((?<![\d.])(\d{1,2})\.(\d{1,2})\.(\d{4}|\d{2})(?!\d|\.\d))"));
    static const QRegularExpression relative(
        QStringLiteral(R"(\b(today|tomorrow|(next|this|on)\s+(monday|tuesday|wednesday|thursday|friday|saturday|sunday))\b)"),
        QRegularExpression::CaseInsensitiveOption);

    const Grammar &grammar = grammarFor(context.locale);
    const QDate today = context.now.toTimeZone(context.timeZone).date();
    QList<DatePart> parts;
    auto add = [&](const QRegularExpressionMatch &m, QDate date, int extraDays = 0) {
        if (date.isValid())
            parts.append({m.capturedStart(), m.capturedEnd(), date, extraDays, {}, {}});
    };

    for (auto it = iso.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (!date.isValid())
            continue;
        DatePart part{m.capturedStart(), m.capturedEnd(), date, 0, {}, {}};
        if (m.capturedLength(4)) {
            const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
            if (!time.isValid())
                continue;
            part.time = time;
            const QString zone = m.captured(7);
            if (zone == QLatin1String("Z")) {
                part.utcOffset = 0;
            } else if (!zone.isEmpty()) {
                const QString digits = QString(zone).remove(u':');
                const int sign = digits.at(0) == u'-' ? -1 : 1;
                part.utcOffset = sign * (digits.mid(1, 2).toInt() * 3600 + digits.mid(3, 2).toInt() * 60);
            }
        }
        parts.append(part);
    }
    for (auto it = slashed.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const int a = m.captured(1).toInt(), b = m.captured(2).toInt();
        add(m, grammar.monthFirst ? QDate(year(m.captured(3)), a, b) : QDate(year(m.captured(3)), b, a));
    }
    for (auto it = dotted.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        if (m.capturedLength(3) == 2 && (m.capturedLength(1) != 2 || m.capturedLength(2) != 2))
            continue;
        add(m, QDate(year(m.captured(3)), m.captured(2).toInt(), m.captured(1).toInt()));
    }
    for (auto it = grammar.monthDay.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        if (!acceptableMonth(m.captured(1)))
            continue;
        const int y = m.capturedLength(4) ? m.captured(4).toInt() : today.year();
        const int day = m.captured(2).toInt();
        const int last = m.capturedLength(3) ? m.captured(3).toInt() : day;
        if (last < day)
            continue;
        add(m, QDate(y, grammar.months.value(m.captured(1).toLower()), day), last - day);
    }
    for (auto it = grammar.dayMonth.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        if (!acceptableMonth(m.captured(3)))
            continue;
        const int y = m.capturedLength(4) ? m.captured(4).toInt() : today.year();
        const int day = m.captured(1).toInt();
        const int last = m.capturedLength(2) ? m.captured(2).toInt() : day;
        if (last < day)
            continue;
        add(m, QDate(y, grammar.months.value(m.captured(3).toLower()), day), last - day);
    }
    for (auto it = relative.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QString word = m.captured(1).toLower();
        if (word == QLatin1String("today")) {
            add(m, today);
        } else if (word == QLatin1String("tomorrow")) {
            add(m, today.addDays(1));
        } else {
            const int weekday = int(englishWeekdays.indexOf(m.captured(3).toLower())) + 1;
            int ahead = (weekday - today.dayOfWeek() + 7) % 7;
            // "next Monday" is never today; "this/on Monday" may be.
            if (ahead == 0 && m.captured(2).compare(QLatin1String("next"), Qt::CaseInsensitive) == 0)
                ahead = 7;
            add(m, today.addDays(ahead));
        }
    }
    return parts;
}

QTime clock(int hour, int minute, const QString &meridiem)
{
    const QString m = QString(meridiem).remove(u'.').toLower();
    if (!m.isEmpty()) {
        if (hour < 1 || hour > 12)
            return {};
        hour = hour % 12 + (m == QLatin1String("pm") ? 12 : 0);
    }
    return QTime(hour, minute);
}

QList<TimePart> findTimeParts(const QString &text)
{
    static const auto ci = QRegularExpression::CaseInsensitiveOption;
    static const QString prefix = QStringLiteral(R"((?:(at|@|from)\s*)?)");
    static const QString meridiem = QStringLiteral(R"((am|pm|a\.m\.|p\.m\.))");
    static const QRegularExpression range(
        QStringLiteral(
            R"((?<![\p{L}\d:.])%1(\d{1,2})(?::(\d{2}))?\s*%2?\s*(?:[-–—]|to|until|till)\s*(\d{1,2})(?::(\d{2}))?\s*%2(?![\p{L}\d]))")
            .arg(prefix, meridiem),
        ci);
    static const QRegularExpression range24(
        QStringLiteral(R"((?<![\p{L}\d:.])%1(\d{1,2}):(\d{2})\s*(?:[-–—]|to|until|till)\s*(\d{1,2}):(\d{2})(?![\d:]))")
            .arg(prefix),
        ci);
    static const QRegularExpression twelve(
        QStringLiteral(R"((?<![\p{L}\d:.])%1(\d{1,2})(?::(\d{2}))?\s*%2(?![\p{L}\d]))").arg(prefix, meridiem), ci);
    static const QRegularExpression twentyFour(
        QStringLiteral(R"((?<![\p{L}\d:.])%1(\d{1,2}):(\d{2})(?![\d:]|\.\d|\s*(?:am|pm|a\.m\.|p\.m\.)))").arg(prefix), ci);
    static const QRegularExpression atHour(
        QStringLiteral(R"(\b(at)\s+(\d{1,2})(?![\d\p{L}:.,/]|\s*(?:%|am|pm|a\.m\.|p\.m\.|[-–—]|to\b)|\s+\p{Lu}))"), ci);

    QList<TimePart> parts;
    for (auto it = range.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QString endMeridiem = m.captured(7);
        QTime until = clock(m.captured(5).toInt(), m.captured(6).toInt(), endMeridiem);
        QTime from = clock(m.captured(2).toInt(), m.captured(3).toInt(), m.capturedLength(4) ? m.captured(4) : endMeridiem);
        // "11–1pm" means 11 in the morning.
        if (!m.capturedLength(4) && from.isValid() && until.isValid() && from > until)
            from = clock(m.captured(2).toInt(), m.captured(3).toInt(), QStringLiteral("am"));
        if (from.isValid() && until.isValid())
            parts.append({m.capturedStart(), m.capturedEnd(), from, until, true});
    }
    for (auto it = range24.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QTime from(m.captured(2).toInt(), m.captured(3).toInt());
        const QTime until(m.captured(4).toInt(), m.captured(5).toInt());
        if (from.isValid() && until.isValid())
            parts.append({m.capturedStart(), m.capturedEnd(), from, until, true});
    }
    for (auto it = twelve.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QTime time = clock(m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4));
        if (time.isValid())
            parts.append({m.capturedStart(), m.capturedEnd(), time, {}, true});
    }
    for (auto it = twentyFour.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QTime time(m.captured(2).toInt(), m.captured(3).toInt());
        if (time.isValid())
            parts.append({m.capturedStart(), m.capturedEnd(), time, {}, m.capturedLength(1) > 0});
    }
    for (auto it = atHour.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        int hour = m.captured(2).toInt();
        if (hour >= 1 && hour <= 7)
            hour += 12;
        if (hour >= 1 && hour <= 23)
            parts.append({m.capturedStart(), m.capturedEnd(), QTime(hour, 0), {}, true});
    }
    return parts;
}

/** Keeps the earliest of overlapping parts, the longest on equal starts. */
template<typename Part> QList<Part> withoutOverlaps(QList<Part> parts)
{
    std::stable_sort(parts.begin(), parts.end(),
                     [](const Part &a, const Part &b) { return a.start != b.start ? a.start < b.start : a.end > b.end; });
    QList<Part> kept;
    for (const Part &part : parts) {
        if (kept.isEmpty() || part.start >= kept.last().end)
            kept.append(part);
    }
    return kept;
}

bool joinable(const QString &text, qsizetype from, qsizetype to)
{
    static const QRegularExpression gap(QStringLiteral(R"(^[\s,]*(?:on\s+)?$)"), QRegularExpression::CaseInsensitiveOption);
    return to >= from && to - from <= 6 && gap.match(text.mid(from, to - from)).hasMatch();
}

} // namespace

QList<DetectorMatch> detectDates(const QString &text, const DetectContext &context)
{
    const QList<DatePart> dates = withoutOverlaps(findDateParts(text, context));
    QList<TimePart> times = withoutOverlaps(findTimeParts(text));
    // A time inside a date's text (ISO) belongs to that date.
    times.removeIf([&](const TimePart &t) {
        return std::any_of(dates.begin(), dates.end(), [&](const DatePart &d) { return t.start < d.end && d.start < t.end; });
    });

    QList<DetectorMatch> matches;
    QList<bool> usedTime(times.size(), false);
    auto emitMatch = [&](qsizetype start, qsizetype end, QDate date, std::optional<QTime> time, std::optional<QTime> until,
                         int extraDays, std::optional<int> utcOffset) {
        QDateTime begin = utcOffset ? QDateTime(date, *time, QTimeZone(*utcOffset))
                                    : QDateTime(date, time.value_or(QTime(12, 0)), context.timeZone);
        if (!begin.isValid())
            return;
        double duration = extraDays * 86400.0;
        if (time && until) {
            qint64 seconds = time->secsTo(*until);
            if (seconds <= 0)
                seconds += 86400;
            duration += double(seconds);
        }
        DetectorMatch match{start, end, {}, false};
        match.detail.kind = DetectedDetail::Kind::date;
        match.detail.date = begin;
        match.detail.duration = duration;
        matches << match;
    };

    for (const DatePart &date : dates) {
        qsizetype start = date.start, end = date.end;
        std::optional<QTime> time = date.time, until;
        if (!date.time) {
            for (qsizetype i = 0; i < times.size(); ++i) {
                if (usedTime[i])
                    continue;
                const TimePart &t = times.at(i);
                if (joinable(text, date.end, t.start) || joinable(text, t.end, date.start)) {
                    usedTime[i] = true;
                    start = std::min(start, t.start);
                    end = std::max(end, t.end);
                    time = t.time;
                    until = t.until;
                    break;
                }
            }
        }
        emitMatch(start, end, date.date, time, until, date.extraDays, date.utcOffset);
    }
    const QDate today = context.now.toTimeZone(context.timeZone).date();
    for (qsizetype i = 0; i < times.size(); ++i) {
        if (!usedTime[i] && times.at(i).strong)
            emitMatch(times.at(i).start, times.at(i).end, today, times.at(i).time, times.at(i).until, 0, std::nullopt);
    }
    std::sort(matches.begin(), matches.end(), [](const DetectorMatch &a, const DetectorMatch &b) { return a.start < b.start; });
    return matches;
}

} // namespace corvane
