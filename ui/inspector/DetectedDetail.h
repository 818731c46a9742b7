#pragma once

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QTimeZone>
#include <QUrl>
#include <QUuid>

namespace corvane {

/** @brief A date, address, phone number, link or flight found in a clip's text. */
struct DetectedDetail {
    enum class Kind { date, address, phone, link, flight };

    QUuid id;
    Kind kind = Kind::link;
    /** What the row shows. */
    QString label;

    QDateTime date;       ///< date
    double duration = 0;  ///< date: seconds, 0 when the text gives none
    QString address;      ///< address
    QString phone;        ///< phone: E.164 when known
    QString extension;    ///< phone: the extension's digits, kept apart from the number
    QUrl url;             ///< link
    QString airline;      ///< flight
    QString flightNumber; ///< flight

    /** The action button's text: "Add to Calendar", "Open in Maps", "Call", "Open Link", "Track Flight". */
    QString title() const;
    /** The row's symbol name. */
    QString symbol() const;
};

/** @brief What a scan needs from the surroundings; tests fix it, the app takes the system's. */
struct DetectContext {
    QDateTime now = QDateTime::currentDateTime();
    QTimeZone timeZone = QTimeZone::systemTimeZone();
    /** Two-letter region for national phone numbers. */
    QString region = defaultRegion();
    /** Month and weekday names and the day/month order of numeric dates. */
    QLocale locale = QLocale::system();

    /** The system locale's territory, "US" when it has none. */
    static QString defaultRegion();
};

/** @brief One detector's find: where it is in the text and the detail it stands for. */
struct DetectorMatch {
    qsizetype start = 0;
    qsizetype end = 0;
    DetectedDetail detail;
    /** Found only to keep its text from other detectors (an e-mail address). */
    bool blocksOnly = false;
};

/** Priority on equal starts, highest first: link, date, flight, phone, address. */
int detectorPriority(DetectedDetail::Kind kind);

} // namespace corvane
