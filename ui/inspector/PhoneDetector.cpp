#include "Detectors.h"

#include <phonenumbers/phonenumber.pb.h>
#include <phonenumbers/phonenumbermatch.h>
#include <phonenumbers/phonenumbermatcher.h>
#include <phonenumbers/phonenumberutil.h>

#include <string>
#include <vector>

namespace corvane {

QList<DetectorMatch> detectPhones(const QString &text, const DetectContext &context)
{
    using namespace i18n::phonenumbers;
    const PhoneNumberUtil &util = *PhoneNumberUtil::GetInstance();
    const QByteArray utf8 = text.toUtf8();

    // The matcher reports UTF-8 byte offsets; map each byte to the UTF-16 index it starts.
    std::vector<qsizetype> utf16At(size_t(utf8.size()) + 1, 0);
    qsizetype unit = 0;
    for (qsizetype byte = 0; byte < utf8.size(); ++byte) {
        utf16At[size_t(byte)] = unit;
        const auto c = static_cast<unsigned char>(utf8.at(byte));
        if ((c & 0xC0) != 0x80) // a lead byte: four-byte sequences are surrogate pairs
            unit += (c >= 0xF0) ? 2 : 1;
    }
    utf16At[size_t(utf8.size())] = text.size();

    // A matcher per call: the scan runs on pool threads, and only the util is shared.
    PhoneNumberMatcher matcher(util, std::string(utf8.constData(), size_t(utf8.size())),
                               context.region.toStdString(), PhoneNumberMatcher::VALID, 1000);
    QList<DetectorMatch> matches;
    PhoneNumberMatch found;
    while (matcher.HasNext() && matcher.Next(&found)) {
        const size_t start = size_t(found.start());
        const size_t end = start + found.raw_string().size();
        if (end > size_t(utf8.size()))
            continue;
        DetectorMatch match;
        match.start = utf16At[start];
        match.end = utf16At[end];
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
    return matches;
}

} // namespace corvane
