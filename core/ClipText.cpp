#include "ClipText.h"

#include <QLocale>
#include <QRegularExpression>

#include <array>
#include <cmath>
#include <cstdlib>

namespace corvane::ClipText {
namespace {

/** @brief One decimal unit of the byte-count text. */
struct ByteUnit {
    const char *name;
    double size;
    int decimals;
};

constexpr std::array<ByteUnit, 6> byteUnits{{
    {"KB", 1e3, 0},
    {"MB", 1e6, 1},
    {"GB", 1e9, 2},
    {"TB", 1e12, 2},
    {"PB", 1e15, 2},
    {"EB", 1e18, 2},
}};

QString trimmedDecimal(double value, int decimals)
{
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text;
}

QDate dayIn(const QDateTime &moment, const QTimeZone &zone) { return moment.toTimeZone(zone).date(); }

QString shortDate(const QDate &date, const QDate &today, const char *format)
{
    const QLocale c = QLocale::c();
    QString text = c.toString(date, QString::fromLatin1(format));
    if (date.year() != today.year())
        text += QStringLiteral(", ") + QString::number(date.year());
    return text;
}

} // namespace

QString byteCount(std::int64_t bytes)
{
    const QString sign = bytes < 0 ? QStringLiteral("-") : QString();
    // Magnitude as unsigned so the most negative value has one too.
    const std::uint64_t magnitude = bytes < 0 ? std::uint64_t(0) - std::uint64_t(bytes) : std::uint64_t(bytes);
    if (magnitude < 1000)
        return sign + QString::number(magnitude) + (magnitude == 1 ? QStringLiteral(" byte") : QStringLiteral(" bytes"));
    for (size_t i = 0; i < byteUnits.size(); ++i) {
        const ByteUnit &unit = byteUnits[i];
        const double scaled = double(magnitude) / unit.size;
        const double factor = std::pow(10.0, unit.decimals);
        const double rounded = std::round(scaled * factor) / factor;
        // 999,999 bytes rounds to "1000 KB": say "1 MB" instead.
        if (rounded >= 1000 && i + 1 < byteUnits.size())
            continue;
        return sign + trimmedDecimal(rounded, unit.decimals) + u' ' + QLatin1String(unit.name);
    }
    return {};
}

QString relativeTime(const QDateTime &from, const QDateTime &now, const QTimeZone &zone)
{
    const qint64 seconds = from.secsTo(now);
    if (seconds < 60)
        return QStringLiteral("just now");
    if (seconds < 3600)
        return QStringLiteral("%1 min ago").arg(seconds / 60);
    const QDate day = dayIn(from, zone);
    const QDate today = dayIn(now, zone);
    const qint64 days = day.daysTo(today);
    if (days <= 0)
        return QStringLiteral("%1 hr ago").arg(seconds / 3600);
    if (days == 1)
        return QStringLiteral("yesterday");
    if (days < 7)
        return QStringLiteral("%1 days ago").arg(days);
    return shortDate(day, today, "MMM d");
}

std::optional<QString> appStoreID(QStringView text)
{
    static const QRegularExpression pattern = [] {
        QRegularExpression re(QStringLiteral(R"((?:apps|itunes)\.apple\.com/\S*?\bid(\d{6,12})(?!\d))"),
                              QRegularExpression::CaseInsensitiveOption);
        re.optimize();
        return re;
    }();
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

QString dayTitle(const QDateTime &day, const QDateTime &now, const QTimeZone &zone)
{
    const QDate date = dayIn(day, zone);
    const QDate today = dayIn(now, zone);
    const qint64 days = date.daysTo(today);
    if (days == 0)
        return QStringLiteral("Today");
    if (days == 1)
        return QStringLiteral("Yesterday");
    return shortDate(date, today, "dddd, MMMM d");
}

QDateTime startOfDay(const QDateTime &moment, const QTimeZone &zone) { return dayIn(moment, zone).startOfDay(zone); }

QDateTime startOfNextDay(const QDateTime &moment, const QTimeZone &zone)
{
    return dayIn(moment, zone).addDays(1).startOfDay(zone);
}

} // namespace corvane::ClipText
