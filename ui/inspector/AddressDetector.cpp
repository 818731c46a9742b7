#include "Detectors.h"

#include <QRegularExpression>

namespace corvane {
namespace {

// Street names are capitalised words (or ordinals like "5th"); the suffix is capitalised too, so
// "walk 5 miles that way" is not an address.
const QString streetWords = QStringLiteral(R"((?:(?:\p{Lu}[\p{L}'’\-]*|\d+(?:st|nd|rd|th))\.?\s+){1,4})");
const QString englishSuffix
    = QStringLiteral("(?:Street|St|Avenue|Ave|Road|Rd|Boulevard|Blvd|Lane|Ln|Drive|Dr|Way|Court|Ct|Place|Pl|Square|Sq|"
                     "Terrace|Ter|Parkway|Pkwy|Highway|Hwy|Circle|Cir|Crescent|Close|Gardens|Row|Mews)");
const QString unit = QStringLiteral(R"((?:,?\s+(?:Apt|Apartment|Suite|Ste|Unit|Floor|Fl)\.?\s*#?\s*[\p{L}\p{N}\-]+)?)");
const QString ukPostcode = QStringLiteral(R"((?:[A-Z]{1,2}\d[A-Z\d]?\s*\d[A-Z]{2}))");
const QString cityWords = QStringLiteral(R"((?:\p{Lu}[\p{L}'’\-]*(?:\s+\p{Lu}[\p{L}'’\-]*){0,3}))");
// ", Springfield, IL 62704", ", London SW1A 2AA", or the postcode and city on the next line.
const QString englishTail
    = QStringLiteral(
          R"((?:,\s*%1,?\s+[A-Z]{2}\s+\d{5}(?:-\d{4})?|,\s*%1\s+%2|,?\s*\n\s*(?:\d{5}(?:-\d{4})?\s+%1|%1,?\s+[A-Z]{2}\s+\d{5}(?:-\d{4})?|%1\s+%2))?)")
          .arg(cityWords, ukPostcode);
const QString germanSuffix = QStringLiteral(R"((?:stra(?:ß|ss)e|str\.|weg|platz|allee|gasse|ring|damm|ufer|chaussee))");
// ", 10115 Berlin" or the postcode and city on the next line.
const QString postcodeCity = QStringLiteral(R"((?:(?:,\s*|\s*\n\s*)\d{4,5}\s+%1)?)").arg(cityWords);

} // namespace

QList<DetectorMatch> detectAddresses(const QString &text)
{
    static const QRegularExpression english(QStringLiteral(R"((?<![\p{L}\p{N}])\d{1,6}[A-Za-z]?\s+%1%2\.?(?![\p{L}\p{N}])%3%4)")
                                                .arg(streetWords, englishSuffix, unit, englishTail));
    // "Hauptstraße 5", "Unter den Linden 77" is left out: the suffix makes it an address.
    static const QRegularExpression german(
        QStringLiteral(
            R"((?<![\p{L}\p{N}])(?:\p{Lu}[\p{L}\-]*%1|(?:\p{Lu}[\p{L}\-]*\s+){1,2}(?:Straße|Strasse|Str\.|Weg|Platz|Allee|Gasse|Ring|Damm))\s+\d{1,4}[a-z]?(?![\p{L}\p{N}])%2)")
            .arg(germanSuffix, postcodeCity));
    static const QRegularExpression french(
        QStringLiteral(
            R"((?<![\p{L}\p{N}])\d{1,4}(?:\s*(?:bis|ter))?,?\s+(?i:rue|avenue|boulevard|bd|place|chemin|allée|impasse|quai|cours)\s+(?:(?:de|du|des|la|le|l’|l'|d’|d')\s*)*(?:\p{Lu}[\p{L}'’\-]*\s*){1,4}%1)")
            .arg(postcodeCity));
    QList<DetectorMatch> matches;
    for (const QRegularExpression *expression : {&english, &german, &french}) {
        for (auto it = expression->globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            qsizetype end = m.capturedEnd();
            while (end > m.capturedStart() && text.at(end - 1).isSpace())
                --end;
            DetectorMatch match{m.capturedStart(), end, {}, false};
            match.detail.kind = DetectedDetail::Kind::address;
            match.detail.address = text.mid(match.start, end - match.start).simplified();
            matches << match;
        }
    }
    return matches;
}

} // namespace corvane
