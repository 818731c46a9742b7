#include "AirlineTable.h"
#include "Detectors.h"

#include <QRegularExpression>

#include <algorithm>

namespace corvane {
namespace {

QRegularExpression namePattern()
{
    QStringList names;
    for (const Airline &airline : airlines())
        names << QRegularExpression::escape(QString::fromLatin1(airline.name));
    return QRegularExpression(
        QStringLiteral(R"((?<![\p{L}\p{N}])(%1)\s+(?:flight|flt\.?)\s*#?\s*(\d{1,4})(?![\p{L}\p{N}]))").arg(names.join(u'|')),
        QRegularExpression::CaseInsensitiveOption);
}

bool looksLikeYear(const QString &digits)
{
    return digits.size() == 4 && (digits.startsWith(QLatin1String("19")) || digits.startsWith(QLatin1String("20")));
}

DetectorMatch flight(qsizetype start, qsizetype end, const Airline &airline, const QString &code, const QString &number)
{
    DetectorMatch match{start, end, {}, false};
    match.detail.kind = DetectedDetail::Kind::flight;
    match.detail.airline = code.isEmpty() ? QString::fromLatin1(airline.iata) : code;
    match.detail.flightNumber = number;
    return match;
}

} // namespace

QList<DetectorMatch> detectFlights(const QString &text)
{
    // Upper-case designators only: "is 12" or "ok 200" in running text are not flights.
    static const QRegularExpression coded(
        QStringLiteral(R"((?<![\p{L}\p{N}])([A-Z0-9]{2}|[A-Z]{3})(\s?)(\d{1,4})(?![\p{L}\p{N}]|[.,:/\-]\d))"));
    static const QRegularExpression named = namePattern();
    QList<DetectorMatch> matches;
    for (auto it = coded.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QString code = m.captured(1);
        if (std::none_of(code.begin(), code.end(), [](QChar c) { return c.isLetter(); }))
            continue;
        // "LH 2024" after a blank reads as a year more often than as a flight.
        if (m.capturedLength(2) && looksLikeYear(m.captured(3)))
            continue;
        if (const Airline *airline = airlineByCode(code))
            matches << flight(m.capturedStart(), m.capturedEnd(), *airline, code, m.captured(3));
    }
    for (auto it = named.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        if (const Airline *airline = airlineByName(m.captured(1)))
            matches << flight(m.capturedStart(), m.capturedEnd(), *airline, {}, m.captured(2));
    }
    return matches;
}

} // namespace corvane
