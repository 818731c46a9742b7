#include "Detectors.h"

#include <phonenumbers/phonenumber.pb.h>
#include <phonenumbers/phonenumbermatch.h>
#include <phonenumbers/phonenumbermatcher.h>
#include <phonenumbers/phonenumberutil.h>

#include <QRegularExpression>

#include <algorithm>
#include <string>
#include <vector>

namespace corvane {

namespace {

/** The matches of libphonenumber in one stretch of text, with offsets into the whole text. */
void matchStretch(const QString &text, qsizetype from, qsizetype to, const DetectContext &context, QList<DetectorMatch> &matches)
{
    using namespace i18n::phonenumbers;
    const PhoneNumberUtil &util = *PhoneNumberUtil::GetInstance();
    const QString stretch = text.mid(from, to - from);
    const QByteArray utf8 = stretch.toUtf8();

    // The matcher reports UTF-8 byte offsets; map each byte to the UTF-16 index it starts.
    std::vector<qsizetype> utf16At(size_t(utf8.size()) + 1, 0);
    qsizetype unit = 0;
    for (qsizetype byte = 0; byte < utf8.size(); ++byte) {
        utf16At[size_t(byte)] = unit;
        const auto c = static_cast<unsigned char>(utf8.at(byte));
        if ((c & 0xC0) != 0x80) // a lead byte: four-byte sequences are surrogate pairs
            unit += (c >= 0xF0) ? 2 : 1;
    }
    utf16At[size_t(utf8.size())] = stretch.size();

    // A matcher per call: the scan runs on pool threads, and only the util is shared.
    PhoneNumberMatcher matcher(util, std::string(utf8.constData(), size_t(utf8.size())), context.region.toStdString(),
                               PhoneNumberMatcher::VALID, 1000);
    PhoneNumberMatch found;
    while (matcher.HasNext() && matcher.Next(&found)) {
        const size_t start = size_t(found.start());
        const size_t end = start + found.raw_string().size();
        if (end > size_t(utf8.size()))
            continue;
        DetectorMatch match;
        match.start = from + utf16At[start];
        match.end = from + utf16At[end];
        match.detail.kind = DetectedDetail::Kind::phone;
        PhoneNumber number = found.number();
        match.detail.extension = QString::fromStdString(number.extension());
        number.clear_extension();
        std::string e164;
        util.Format(number, PhoneNumberUtil::E164, &e164);
        match.detail.phone = QString::fromStdString(e164);
        match.detail.label = QString::fromStdString(found.raw_string()).trimmed();
        matches << match;
    }
}

} // namespace

QList<DetectorMatch> detectPhones(const QString &text, const DetectContext &context, const QList<DetectorMatch> &claimed)
{
    // The matcher is slow on long prose; it only sees stretches that could hold a number: a run
    // of at least five digits among phone punctuation, with a little text around it for the
    // extension and the leading "+" or "(".
    static const QRegularExpression candidate(QStringLiteral(R"([+(]?\d[\d \t().\-/]{3,}\d)"));
    QList<DetectorMatch> matches;
    qsizetype from = -1, to = -1;
    for (auto it = candidate.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        if (std::count_if(text.begin() + m.capturedStart(), text.begin() + m.capturedEnd(), [](QChar c) { return c.isDigit(); })
            < 5)
            continue;
        // Inside an earlier link, date or flight a number could never be listed: not worth a look.
        const bool taken = std::any_of(claimed.begin(), claimed.end(), [&](const DetectorMatch &other) {
            return other.start <= m.capturedStart() && m.capturedStart() < other.end;
        });
        if (taken)
            continue;
        const qsizetype start = std::max<qsizetype>(0, m.capturedStart() - 2);
        const qsizetype end = std::min(text.size(), m.capturedEnd() + 16);
        if (from >= 0 && start <= to) {
            to = end;
            continue;
        }
        if (from >= 0)
            matchStretch(text, from, to, context, matches);
        from = start;
        to = end;
    }
    if (from >= 0)
        matchStretch(text, from, to, context, matches);
    return matches;
}

} // namespace corvane
