#include "Detectors.h"

#include <QRegularExpression>

namespace corvane {
namespace {

/** Drops sentence punctuation and closing brackets that have no opening one inside the link. */
qsizetype trimmedEnd(const QString &text, qsizetype start, qsizetype end)
{
    while (end > start) {
        const QChar last = text.at(end - 1);
        if (QStringLiteral(".,;:!?'\"").contains(last)) {
            --end;
            continue;
        }
        const QChar open = last == u')' ? u'(' : last == u']' ? u'[' : last == u'}' ? u'{' : QChar();
        if (!open.isNull()) {
            const QStringView link = QStringView(text).mid(start, end - start);
            if (link.count(open) < link.count(last)) {
                --end;
                continue;
            }
        }
        break;
    }
    return end;
}

} // namespace

QList<DetectorMatch> detectLinks(const QString &text)
{
    // Only web links: other schemes in copied text (file:, custom handlers) are never offered.
    static const QRegularExpression web(QStringLiteral(R"((?<![\p{L}\p{N}@.\-/])(?:https?://|www\.)[^\s<>"`{}|\\^]+)"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression email(
        QStringLiteral(R"((?<![\p{L}\p{N}._%+\-])[\p{L}\p{N}._%+\-]+@[\p{L}\p{N}\-]+(?:\.[\p{L}\p{N}\-]+)*\.\p{L}{2,})"));
    QList<DetectorMatch> matches;
    for (auto it = email.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        DetectorMatch match{m.capturedStart(), m.capturedEnd(), {}, true};
        match.detail.kind = DetectedDetail::Kind::link;
        match.detail.url = QUrl(QStringLiteral("mailto:") + m.captured());
        matches << match;
    }
    for (auto it = web.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const qsizetype end = trimmedEnd(text, m.capturedStart(), m.capturedEnd());
        const QString raw = text.mid(m.capturedStart(), end - m.capturedStart());
        const bool bare = raw.startsWith(QLatin1String("www."), Qt::CaseInsensitive);
        const QUrl url(bare ? QStringLiteral("https://") + raw : raw, QUrl::TolerantMode);
        if (!url.isValid() || url.host().isEmpty() || url.host().endsWith(u'.'))
            continue;
        DetectorMatch match{m.capturedStart(), end, {}, false};
        match.detail.kind = DetectedDetail::Kind::link;
        match.detail.url = url;
        matches << match;
    }
    return matches;
}

} // namespace corvane
