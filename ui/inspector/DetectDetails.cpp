#include "DetectDetails.h"

#include "Detectors.h"

#include <QSet>

#include <algorithm>

namespace corvane {

QList<DetectorMatch> mergeMatches(QList<DetectorMatch> matches)
{
    std::stable_sort(matches.begin(), matches.end(), [](const DetectorMatch &a, const DetectorMatch &b) {
        if (a.start != b.start)
            return a.start < b.start;
        return detectorPriority(a.detail.kind) < detectorPriority(b.detail.kind);
    });
    QList<DetectorMatch> accepted;
    qsizetype acceptedEnd = 0;
    for (const DetectorMatch &match : matches) {
        if (match.end <= match.start || (!accepted.isEmpty() && match.start < acceptedEnd))
            continue;
        accepted << match;
        acceptedEnd = match.end;
    }
    return accepted;
}

QList<DetectedDetail> detectDetails(const QString &fullText, int limit, const DetectContext &context)
{
    QList<DetectedDetail> details;
    if (limit <= 0)
        return details;
    qsizetype cut = std::min(fullText.size(), detailScanLimit);
    if (cut < fullText.size() && cut > 0 && fullText.at(cut - 1).isHighSurrogate())
        --cut;
    const QString text = fullText.left(cut);

    QList<DetectorMatch> all = detectLinks(text);
    all << detectDates(text, context) << detectFlights(text);
    all << detectPhones(text, context, all) << detectAddresses(text);

    QSet<QString> seen;
    for (const DetectorMatch &match : mergeMatches(std::move(all))) {
        const QString label = match.detail.kind == DetectedDetail::Kind::phone && !match.detail.label.isEmpty()
            ? match.detail.label
            : text.mid(match.start, match.end - match.start).trimmed();
        if (label.isEmpty())
            continue;
        // Recorded before the checks below, so a skipped e-mail address still hides its later copies.
        const QString key = label.toLower();
        if (seen.contains(key))
            continue;
        seen.insert(key);
        if (match.blocksOnly)
            continue;
        DetectedDetail detail = match.detail;
        switch (detail.kind) {
        case DetectedDetail::Kind::date:
            if (!detail.date.isValid())
                continue;
            break;
        case DetectedDetail::Kind::link:
            if (!detail.url.isValid() || detail.url.scheme() == QLatin1String("mailto"))
                continue;
            break;
        case DetectedDetail::Kind::phone:
            if (detail.phone.isEmpty())
                continue;
            break;
        case DetectedDetail::Kind::flight:
            if (detail.airline.isEmpty() || detail.flightNumber.isEmpty())
                continue;
            detail.label = detail.airline + u' ' + detail.flightNumber;
            break;
        case DetectedDetail::Kind::address:
            break;
        }
        if (detail.kind != DetectedDetail::Kind::flight)
            detail.label = label;
        detail.id = QUuid::createUuid();
        details << detail;
        if (details.size() >= limit)
            break;
    }
    return details;
}

} // namespace corvane
