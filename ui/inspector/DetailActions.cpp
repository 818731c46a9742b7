#include "DetailActions.h"

#include "DesktopAccess.h"
#include "DesktopServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QtConcurrent/QtConcurrentRun>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

#include <atomic>

namespace corvane {
namespace {

QString asciiDigits(const QString &text, bool keepPlus)
{
    QString out;
    for (const QChar c : text) {
        // Decimal digits of any script become ASCII; superscripts and fractions are no digits.
        if (c.category() == QChar::Number_DecimalDigit)
            out.append(QChar(u'0' + c.digitValue()));
        else if (keepPlus && c == u'+' && out.isEmpty())
            out.append(c);
    }
    return out;
}

QByteArray icsTime(const QDateTime &time)
{
    return QLocale::c().toString(time.toUTC(), QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
}

QByteArray escapeText(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\\' || c == u';' || c == u',') {
            out += u'\\';
            out += c;
        } else if (c == u'\r') {
            out += QStringLiteral("\\n");
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else if (c == u'\n') {
            out += QStringLiteral("\\n");
        } else {
            out += c;
        }
    }
    return out.toUtf8();
}

/** Lines longer than 75 octets continue on lines that start with a blank; never inside a character. */
QByteArray folded(const QByteArray &line)
{
    QByteArray out;
    qsizetype start = 0, limit = 75;
    while (line.size() - start > limit) {
        qsizetype cut = start + limit;
        while (cut > start && (static_cast<unsigned char>(line.at(cut)) & 0xC0) == 0x80)
            --cut;
        out += line.mid(start, cut - start) + "\r\n ";
        start = cut;
        limit = 74; // the leading blank counts
    }
    return out + line.mid(start);
}

bool geoHandlerRegistered()
{
    static std::atomic<int> known{-1};
    if (known >= 0)
        return known == 1;
    const bool registered = [] {
        const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
        if (xdgMime.isEmpty())
            return false;
        QProcess query;
        query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("x-scheme-handler/geo")});
        return query.waitForFinished(1500) && !query.readAllStandardOutput().trimmed().isEmpty();
    }();
    known = registered ? 1 : 0;
    return registered;
}

} // namespace

QUrl actionURL(const DetectedDetail &detail, const ServiceHosts &hosts, bool hasGeoHandler)
{
    switch (detail.kind) {
    case DetectedDetail::Kind::phone: {
        const QString number = asciiDigits(detail.phone, true);
        if (number.isEmpty() || number == QLatin1String("+"))
            return {};
        const QString extension = asciiDigits(detail.extension, false);
        return QUrl(QStringLiteral("tel:") + number + (extension.isEmpty() ? QString() : QStringLiteral(";ext=") + extension));
    }
    case DetectedDetail::Kind::address: {
        // A query value: "&", "=" and "+" in the address must not end it early.
        const QByteArray query = QUrl::toPercentEncoding(detail.address);
        if (hasGeoHandler)
            return QUrl::fromEncoded("geo:0,0?q=" + query, QUrl::StrictMode);
        return hosts.webMaps.url(QStringLiteral("/search"), QStringLiteral("query=") + QString::fromLatin1(query));
    }
    case DetectedDetail::Kind::link:
        return detail.url;
    case DetectedDetail::Kind::flight: {
        // One path segment: a "/" or "?" in it is encoded, the blank becomes %20.
        const QByteArray segment = QUrl::toPercentEncoding(detail.airline + u' ' + detail.flightNumber);
        return QUrl::fromEncoded(hosts.flightTracking.url({}).toEncoded() + "/live/flight/" + segment, QUrl::StrictMode);
    }
    case DetectedDetail::Kind::date:
        break;
    }
    return {};
}

double eventDuration(const DetectedDetail &detail) { return detail.duration > 0 ? detail.duration : 3600; }

QByteArray buildICS(const QString &title, const QDateTime &start, double durationSeconds, const QDateTime &now, const QUuid &uid)
{
    const QList<QByteArray> lines = {
        "BEGIN:VCALENDAR",
        "VERSION:2.0",
        "PRODID:-//Corvane//EN",
        "BEGIN:VEVENT",
        "UID:" + uid.toString(QUuid::WithoutBraces).toUpper().toLatin1(),
        "DTSTAMP:" + icsTime(now),
        "DTSTART:" + icsTime(start),
        "DTEND:" + icsTime(start.addMSecs(qint64(durationSeconds * 1000))),
        "SUMMARY:" + escapeText(title),
        "END:VEVENT",
        "END:VCALENDAR",
    };
    QByteArray out;
    for (const QByteArray &line : lines)
        out += folded(line) + "\r\n";
    return out;
}

std::optional<QString> writeCalendarEvent(const QString &folder, const QByteArray &ics)
{
    const QString path = QDir(folder).filePath(QStringLiteral("Corvane Event.ics"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return std::nullopt;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(ics);
    if (!file.commit())
        return std::nullopt;
    return path;
}

void performDetail(const DetectedDetail &detail, const ServiceHosts &hosts)
{
    DesktopServices *desktop = inspectorDesktop();
    if (!desktop)
        return;
    if (detail.kind == DetectedDetail::Kind::date) {
        const auto folder = privateFolder();
        if (!folder)
            return;
        const QByteArray ics = buildICS(QStringLiteral("Event from Corvane"), detail.date, eventDuration(detail),
                                        QDateTime::currentDateTimeUtc(), QUuid::createUuid());
        if (const auto path = writeCalendarEvent(*folder, ics))
            desktop->openFile(*path);
        return;
    }
    if (detail.kind == DetectedDetail::Kind::address) {
        // Asking xdg-mime takes a process start: off the GUI thread, then open on it.
        QtConcurrent::run(geoHandlerRegistered).then(qApp, [detail, hosts](bool hasGeo) {
            const QUrl url = actionURL(detail, hosts, hasGeo);
            if (url.isValid())
                if (DesktopServices *opener = inspectorDesktop())
                    opener->openUrl(url);
        });
        return;
    }
    const QUrl url = actionURL(detail, hosts);
    if (url.isValid() && !url.isEmpty())
        desktop->openUrl(url);
}

} // namespace corvane
