#include "SecretMasker.h"

#include <QList>

#include <array>
#include <cmath>

namespace corvane::SecretMasker {
namespace {

constexpr qsizetype maxVisiblePrefix = 8;

/** @brief A token prefix of a known service, and how long the rest must be. */
struct KnownPrefix {
    const char16_t *prefix;
    const char *kind;
    qsizetype minRest;
    qsizetype exactRest; // 0 when any length from minRest on is fine
    bool upperAlnumRest; // rest only A-Z and 0-9 (AWS key ids)
};

// Order matters: longer, more specific prefixes come before the ones they start with.
constexpr std::array<KnownPrefix, 23> knownPrefixes{{
    {u"github_pat_", "GitHub token", 16, 0, false}, {u"ghp_", "GitHub token", 16, 0, false},
    {u"gho_", "GitHub token", 16, 0, false},        {u"ghs_", "GitHub token", 16, 0, false},
    {u"ghu_", "GitHub token", 16, 0, false},        {u"ghr_", "GitHub token", 16, 0, false},
    {u"glpat-", "GitLab token", 16, 0, false},      {u"xoxa-", "Slack token", 16, 0, false},
    {u"xoxb-", "Slack token", 16, 0, false},        {u"xoxp-", "Slack token", 16, 0, false},
    {u"xoxs-", "Slack token", 16, 0, false},        {u"sk-ant-", "Anthropic key", 16, 0, false},
    {u"sk-proj-", "OpenAI key", 16, 0, false},      {u"sk_live_", "Stripe key", 16, 0, false},
    {u"sk_test_", "Stripe key", 16, 0, false},      {u"rk_live_", "Stripe key", 16, 0, false},
    {u"sk-", "OpenAI key", 16, 0, false},           {u"AKIA", "AWS access key", 16, 16, true},
    {u"ASIA", "AWS access key", 16, 16, true},      {u"AIza", "Google API key", 35, 35, false},
    {u"npm_", "npm token", 16, 0, false},           {u"pypi-", "PyPI token", 16, 0, false},
    {u"SG.", "SendGrid key", 16, 0, false},
}};

bool isAsciiAlnum(char16_t c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char16_t c) { return c >= '0' && c <= '9'; }
bool isHex(char16_t c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool isTokenChar(char16_t c) { return isAsciiAlnum(c) || c == '_' || c == '-' || c == '.'; }
bool isGenericChar(char16_t c) { return isAsciiAlnum(c) || c == '+' || c == '/' || c == '=' || c == '_' || c == '-'; }

std::optional<Token> knownPrefixToken(QStringView text)
{
    for (const KnownPrefix &known : knownPrefixes) {
        const QStringView prefix(known.prefix);
        if (!text.startsWith(prefix))
            continue;
        const QStringView rest = text.mid(prefix.size());
        if (rest.size() < known.minRest || (known.exactRest && rest.size() != known.exactRest))
            continue;
        bool valid = true;
        bool hasDigit = false;
        for (QChar ch : rest) {
            const char16_t c = ch.unicode();
            hasDigit = hasDigit || isDigit(c);
            const bool allowed = known.upperAlnumRest ? (isDigit(c) || (c >= 'A' && c <= 'Z')) : isTokenChar(c);
            if (!allowed) {
                valid = false;
                break;
            }
        }
        // Random tokens carry digits; "sk-learn-tutorial-notes" does not.
        if (valid && (hasDigit || known.exactRest))
            return Token{QString::fromLatin1(known.kind), prefix.left(maxVisiblePrefix).toString(), {}};
    }
    return std::nullopt;
}

bool isJwtPart(QStringView part)
{
    if (part.isEmpty())
        return false;
    for (QChar ch : part) {
        const char16_t c = ch.unicode();
        if (!isAsciiAlnum(c) && c != '_' && c != '-' && c != '=')
            return false;
    }
    return true;
}

bool isJwt(QStringView text)
{
    if (!text.startsWith(u"eyJ"))
        return false;
    const auto parts = text.split(u'.');
    if (parts.size() != 3 || !parts[1].startsWith(u"eyJ"))
        return false;
    // The signature is empty for unsigned tokens.
    return isJwtPart(parts[0]) && isJwtPart(parts[1]) && (parts[2].isEmpty() || isJwtPart(parts[2]));
}

bool isUuid(QStringView text)
{
    if (text.size() != 36)
        return false;
    for (qsizetype i = 0; i < 36; ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? text[i] != u'-' : !isHex(text[i].unicode()))
            return false;
    }
    return true;
}

bool isGenericToken(QStringView text)
{
    if (text.size() < 32 || text.size() > 256 || isUuid(text))
        return false;
    bool upper = false, lower = false, digit = false, symbol = false, allHex = true;
    int counts[128] = {};
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (!isGenericChar(c))
            return false;
        upper = upper || (c >= 'A' && c <= 'Z');
        lower = lower || (c >= 'a' && c <= 'z');
        digit = digit || isDigit(c);
        symbol = symbol || !isAsciiAlnum(c);
        allHex = allHex && isHex(c);
        ++counts[c];
    }
    if (allHex || int(upper) + int(lower) + int(digit) + int(symbol) < 3)
        return false;
    double entropy = 0;
    const double n = double(text.size());
    for (int count : counts) {
        if (count) {
            const double p = count / n;
            entropy -= p * std::log2(p);
        }
    }
    return entropy >= 4.0;
}

/** The "-----BEGIN ... PRIVATE KEY-----" line of a key block anywhere in the text. */
std::optional<QString> privateKeyHeader(QStringView text)
{
    qsizetype from = 0;
    while (true) {
        const qsizetype begin = text.indexOf(u"-----BEGIN ", from);
        if (begin < 0)
            return std::nullopt;
        qsizetype lineEnd = text.indexOf(u'\n', begin);
        if (lineEnd < 0)
            lineEnd = text.size();
        const QStringView line = text.mid(begin, lineEnd - begin).trimmed();
        if (line.endsWith(u"PRIVATE KEY-----"))
            return line.toString();
        from = begin + 1;
    }
}

} // namespace

QString bullets() { return QStringLiteral("••••••••"); }

std::optional<Token> identify(QStringView text)
{
    text = text.trimmed();
    if (text.size() < 8)
        return std::nullopt;
    if (auto header = privateKeyHeader(text))
        return Token{QStringLiteral("Private key"), {}, *header};
    for (QChar ch : text) {
        if (ch.isSpace())
            return std::nullopt;
    }
    if (isJwt(text))
        return Token{QStringLiteral("JWT"), QStringLiteral("eyJ"), {}};
    if (auto token = knownPrefixToken(text))
        return token;
    if (isGenericToken(text))
        return Token{QStringLiteral("Token"), {}, {}};
    return std::nullopt;
}

QString mask(QStringView text)
{
    const auto token = identify(text);
    if (!token)
        return bullets();
    if (!token->header.isEmpty())
        return token->header + u' ' + bullets();
    return token->visiblePrefix + bullets();
}

} // namespace corvane::SecretMasker
