#include "ContentDetector.h"

#include "CodeDetector.h"
#include "ColorParser.h"
#include "SecretMasker.h"

#include <QUrl>

namespace corvane::ContentDetector {
namespace {

bool isAsciiDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

bool hasWhiteSpace(QStringView text)
{
    for (QChar c : text) {
        if (c.isSpace())
            return true;
    }
    return false;
}

bool isDomain(QStringView domain)
{
    const auto labels = domain.split(u'.');
    if (labels.size() < 2)
        return false;
    for (QStringView label : labels) {
        if (label.isEmpty() || label.front() == u'-' || label.back() == u'-')
            return false;
        for (QChar c : label) {
            if (!c.isLetterOrNumber() && c != u'-')
                return false;
        }
    }
    const QStringView tld = labels.back();
    if (tld.size() < 2)
        return false;
    for (QChar c : tld) {
        if (!c.isLetter())
            return false;
    }
    return true;
}

bool isEmail(QStringView text)
{
    if (text.startsWith(u"mailto:", Qt::CaseInsensitive))
        text = text.mid(7);
    const qsizetype at = text.indexOf(u'@');
    if (at <= 0 || text.indexOf(u'@', at + 1) >= 0 || hasWhiteSpace(text))
        return false;
    const QStringView local = text.left(at);
    if (local.front() == u'.' || local.back() == u'.' || local.contains(u".."))
        return false;
    for (QChar c : local) {
        if (!c.isLetterOrNumber() && !QStringView(u"._%+-'").contains(c))
            return false;
    }
    return isDomain(text.mid(at + 1));
}

bool isLink(QStringView text)
{
    if (hasWhiteSpace(text))
        return false;
    const bool schemed = text.startsWith(u"http://", Qt::CaseInsensitive) || text.startsWith(u"https://", Qt::CaseInsensitive)
        || text.startsWith(u"ftp://", Qt::CaseInsensitive);
    if (schemed) {
        const QUrl url(text.toString());
        return url.isValid() && !url.host().isEmpty();
    }
    if (!text.startsWith(u"www.", Qt::CaseInsensitive))
        return false;
    const QUrl url(QStringLiteral("http://") + text.toString());
    return url.isValid() && isDomain(url.host());
}

/** Digit groups of a text made of digits and one kind of separator, e.g. "192.168.0.1". */
QList<QStringView> groupsSeparatedBy(QStringView text, QChar separator)
{
    const auto groups = text.split(separator);
    for (QStringView group : groups) {
        if (group.isEmpty())
            return {};
        for (QChar c : group) {
            if (!isAsciiDigit(c))
                return {};
        }
    }
    return groups;
}

// Dates and addresses are made of the same characters as phone numbers.
bool looksLikeDateOrAddress(QStringView text)
{
    const auto dashed = groupsSeparatedBy(text, u'-');
    if (dashed.size() == 3 && dashed[0].size() == 4 && dashed[1].size() == 2 && dashed[2].size() == 2)
        return true;
    const auto dotted = groupsSeparatedBy(text, u'.');
    if (dotted.size() == 3 && dotted[0].size() <= 2 && dotted[1].size() <= 2 && (dotted[2].size() == 2 || dotted[2].size() == 4))
        return true;
    if (dotted.size() == 4) {
        bool address = true;
        for (QStringView part : dotted)
            address = address && part.size() <= 3 && part.toInt() <= 255;
        return address;
    }
    return false;
}

bool isPhone(QStringView text)
{
    const QChar first = text.front();
    if (!isAsciiDigit(first) && first != u'+' && first != u'(')
        return false;
    int digits = 0;
    int dots = 0;
    bool otherSeparator = false;
    int open = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isAsciiDigit(c)) {
            ++digits;
        } else if (c == u'+') {
            if (i != 0)
                return false;
        } else if (c == u'.') {
            ++dots;
        } else if (c == u'(') {
            if (open++)
                return false;
            otherSeparator = true;
        } else if (c == u')') {
            if (open != 1)
                return false;
            otherSeparator = true;
        } else if (c == u'-' || c == u' ') {
            otherSeparator = true;
        } else {
            return false;
        }
    }
    if (digits < 7 || digits > 15)
        return false;
    // One dot alone is a decimal number ("3.14159265").
    const bool separated = otherSeparator || dots >= 2;
    return (first == u'+' || separated) && !looksLikeDateOrAddress(text);
}

bool isCurrency(QChar c) { return c.category() == QChar::Symbol_Currency; }

bool consumeDigits(QStringView text, qsizetype &i, qsizetype max = -1)
{
    const qsizetype start = i;
    while (i < text.size() && isAsciiDigit(text[i]) && (max < 0 || i - start < max))
        ++i;
    return i > start;
}

bool isNumber(QStringView text)
{
    qsizetype i = 0;
    auto skipCurrency = [&] {
        if (i < text.size() && isCurrency(text[i])) {
            ++i;
            if (i < text.size() && text[i] == u' ')
                ++i;
        }
    };
    skipCurrency();
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-' || text[i] == u'\u2212'))
        ++i;
    skipCurrency();
    const qsizetype integerStart = i;
    bool integer = consumeDigits(text, i);
    QChar grouping;
    if (integer && i - integerStart <= 3 && i + 1 < text.size() && (text[i] == u',' || text[i] == u'\'')) {
        // 1,234,567 or 1'234'567: every group after the first has exactly three digits.
        const QChar separator = text[i];
        qsizetype j = i;
        while (j + 3 < text.size() + 0 && text[j] == separator) {
            qsizetype k = j + 1;
            if (!consumeDigits(text, k, 3) || k - j != 4 || (k < text.size() && isAsciiDigit(text[k])))
                break;
            j = k;
            grouping = separator;
        }
        i = j;
    }
    if (i < text.size() && text[i] == u'.') {
        ++i;
        if (!consumeDigits(text, i))
            return false;
    } else if (grouping != u',' && i < text.size() && text[i] == u',') {
        // A decimal comma ("12,50 €") has one or two digits; three would be a grouping.
        const qsizetype start = ++i;
        if (!consumeDigits(text, i, 2) || (i < text.size() && isAsciiDigit(text[i])) || i - start > 2)
            return false;
    } else if (!integer) {
        return false;
    }
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        if (!consumeDigits(text, i))
            return false;
    }
    if (i < text.size() && text[i] == u'%')
        ++i;
    else if (i < text.size() && text[i] == u' ' && i + 1 < text.size() && isCurrency(text[i + 1]))
        i += 2;
    else if (i < text.size() && isCurrency(text[i]))
        ++i;
    return i == text.size();
}

} // namespace

Detection detect(QStringView text)
{
    text = text.trimmed();
    if (text.isEmpty())
        return {};
    if (auto token = SecretMasker::identify(text))
        return Detection{ClipGroup::secret, token->kind};
    if (auto color = ColorParser::parseNotation(text))
        return Detection{ClipGroup::color, ColorParser::notationName(color->notation)};
    if (isEmail(text))
        return Detection{ClipGroup::email, std::nullopt};
    if (isLink(text))
        return Detection{ClipGroup::link, std::nullopt};
    if (isPhone(text))
        return Detection{ClipGroup::phone, std::nullopt};
    if (isNumber(text))
        return Detection{ClipGroup::number, std::nullopt};
    if (auto code = CodeDetector::detect(text))
        return *code;
    return {};
}

} // namespace corvane::ContentDetector
