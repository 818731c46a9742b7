#include "CodeDetector.h"

#include <QJsonDocument>
#include <QRegularExpression>

namespace corvane::CodeDetector {
namespace {

QRegularExpression compiled(const char *pattern, bool caseInsensitive = false)
{
    QRegularExpression::PatternOptions options = QRegularExpression::MultilineOption;
    if (caseInsensitive)
        options |= QRegularExpression::CaseInsensitiveOption;
    QRegularExpression re(QString::fromLatin1(pattern), options);
    re.optimize(); // compile now, so threads only ever read it
    return re;
}

bool matches(const QRegularExpression &re, QStringView text) { return re.match(text).hasMatch(); }

Detection language(const char *name) { return Detection{ClipGroup::code, QString::fromLatin1(name)}; }

bool isJson(QStringView text)
{
    const QChar first = text.front();
    const QChar last = text.back();
    if (!((first == u'{' && last == u'}') || (first == u'[' && last == u']')))
        return false;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
    return error.error == QJsonParseError::NoError && (document.isObject() || document.isArray());
}

// A command line: a well-known program followed by something only a command has
// (an option, a pipe, a redirection or a path), so prose like "make sure" stays text.
bool isShellCommand(QStringView text)
{
    static const QRegularExpression command = compiled(
        R"(\A(?:\$ |sudo )?(?:apt|apt-get|awk|brew|cargo|cat|cd|chmod|chown|cmake|cp|curl|dnf|docker|du|df|echo|export|find|flatpak|g\+\+|gcc|git|go|grep|head|journalctl|kill|kubectl|ln|ls|make|mkdir|mv|ninja|node|npm|npx|pacman|pip|pip3|ps|python|python3|rm|rsync|scp|sed|source|ssh|ssh-keygen|systemctl|tail|tar|touch|wget|xargs|yarn)(?= ))");
    static const QRegularExpression commandish = compiled(R"((?:^\$ |^sudo | -{1,2}\w| \| |&&| > | [~.]?/\S))");
    if (text.count(u'\n') > 4)
        return false;
    return matches(command, text) && matches(commandish, text);
}

bool isSql(QStringView text)
{
    static const QRegularExpression select = compiled(R"(\A(?:WITH\b[\s\S]*?\b)?SELECT\b[\s\S]+?\bFROM\b)", true);
    static const QRegularExpression sqlish
        = compiled(R"((?:\bSELECT\s+(?:\*|DISTINCT\b|\w+\s*,)|\b(?:WHERE|JOIN|GROUP\s+BY|ORDER\s+BY|LIMIT)\b|;\s*\z))", true);
    static const QRegularExpression upperCase = compiled(R"(\bSELECT\b[\s\S]+?\bFROM\b)");
    return matches(select, text) && (matches(sqlish, text) || matches(upperCase, text));
}

int genericMarkers(QStringView text)
{
    bool semicolonLine = false;
    bool braceLine = false;
    for (QStringView line : text.split(u'\n')) {
        line = line.trimmed();
        semicolonLine = semicolonLine || line.endsWith(u';');
        braceLine = braceLine || line.endsWith(u'{');
    }
    int depth = 0;
    int pairs = 0;
    bool balanced = true;
    for (QChar c : text) {
        if (c == u'{') {
            ++depth;
            ++pairs;
        } else if (c == u'}' && --depth < 0) {
            balanced = false;
            break;
        }
    }
    balanced = balanced && depth == 0 && pairs > 0;
    return int(semicolonLine) + int(braceLine) + int(balanced) + int(text.contains(u"==")) + int(text.contains(u"->"))
        + int(text.contains(u"::"));
}

} // namespace

std::optional<Detection> detect(QStringView text)
{
    static const QRegularExpression include = compiled(R"(^\s*#\s*include\s*[<"])");
    static const QRegularExpression python = compiled(
        R"(^\s*(?:def\s+\w+\s*\(.*\)\s*(?:->.*)?:\s*$|import\s+[\w.]+(?:\s+as\s+\w+)?(?:\s*,\s*[\w.]+)*\s*$|from\s+[\w.]+\s+import\s+[\w*(]))");
    static const QRegularExpression swiftFunc = compiled(R"(\bfunc\s+\w+\s*[(<])");
    static const QRegularExpression swiftLet = compiled(R"(\b(?:let|var)\s+\w+\s*[:=])");
    static const QRegularExpression javaScript = compiled(R"(\bfunction\s*\w*\s*\(|\b(?:const|let)\s+[\w{[][^=\n]*=|=>)");
    static const QRegularExpression html = compiled(
        R"(\A\s*<!doctype\s+html|<([a-z][a-z0-9]*)\b[^<>]*>[\s\S]*?</\1\s*>|<(?:br|hr|img|input|meta|link)\b[^<>]*/?>)", true);

    if (text.isEmpty())
        return std::nullopt;
    if (isJson(text))
        return language("JSON");
    if (text.startsWith(u"#!") || isShellCommand(text))
        return language("Shell");
    if (matches(include, text))
        return language("C/C++");
    if (matches(python, text))
        return language("Python");
    const bool braces = text.contains(u'{') && text.contains(u'}');
    if (braces && matches(swiftFunc, text))
        return language("Swift");
    // "let" with braces is Swift unless the text reads like JavaScript.
    // "::" is not JavaScript syntax; C++ and Rust also write "const" and "let".
    const bool javaScriptMarkers = !text.contains(u"::") && matches(javaScript, text);
    const bool semicolons = text.contains(u";\n") || text.endsWith(u';');
    if (braces && matches(swiftLet, text) && !text.contains(u"=>") && !text.contains(u"function") && !semicolons)
        return language("Swift");
    if (javaScriptMarkers)
        return language("JavaScript");
    if (matches(html, text))
        return language("HTML");
    if (isSql(text))
        return language("SQL");
    if (genericMarkers(text) >= 2)
        return Detection{ClipGroup::code, std::nullopt};
    return std::nullopt;
}

} // namespace corvane::CodeDetector
