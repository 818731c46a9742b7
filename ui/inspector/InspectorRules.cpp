#include "InspectorRules.h"

#include "ClipText.h"

#include <QLocale>
#include <QTextBoundaryFinder>

namespace corvane {

namespace {

bool isNewline(char16_t c)
{
    switch (c) {
    case u'\n':
    case u'\v':
    case u'\f':
    case u'\r':
    case u'\u0085':
    case u'\u2028':
    case u'\u2029':
        return true;
    default:
        return false;
    }
}

qsizetype graphemeCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

QString counted(qsizetype n, const char *singular, const char *plural)
{
    return QString::number(n) + u' ' + QLatin1String(n == 1 ? singular : plural);
}

} // namespace

InspectorLayout inspectorLayout(const Clip &clip, const std::optional<QString> &text, bool hasAppCardInfo)
{
    InspectorLayout layout;
    const bool isLink = clip.group == ClipGroup::link;
    const bool hasText = text.has_value();
    const bool hasStoreID = isLink && hasText && ClipText::appStoreID(*text).has_value();
    const bool hasBundle = clip.appBundlePath().has_value();
    layout.isApplication = hasStoreID || hasBundle;
    layout.kindTitle = layout.isApplication ? QStringLiteral("App") : ClipGroups::displayName(clip.group);
    layout.linkCard = isLink;
    layout.appCard = hasBundle && hasAppCardInfo;
    layout.summaryCard = clip.summary.has_value();
    layout.qrCode = isLink && hasText && !hasStoreID;
    if (layout.qrCode)
        layout.qrText = text->trimmed();
    layout.detailActions
        = hasText && clip.group != ClipGroup::secret && clip.group != ClipGroup::image && clip.group != ClipGroup::file;
    return layout;
}

QString textStatistics(const std::optional<QString> &text, std::int64_t byteSize)
{
    if (!text)
        return ClipText::byteCount(byteSize);
    qsizetype words = 0;
    qsizetype lines = 1;
    bool inWord = false;
    for (QChar c : *text) {
        if (isNewline(c.unicode()))
            ++lines;
        if (c.isSpace()) {
            inWord = false;
        } else if (!inWord) {
            inWord = true;
            ++words;
        }
    }
    const QString separator = QStringLiteral(" · ");
    return counted(graphemeCount(*text), "char", "chars") + separator + counted(words, "word", "words") + separator
        + counted(lines, "line", "lines");
}

QString sourceLine(const Clip &clip)
{
    if (const auto host = clip.sourceHost()) {
        // No dangling separator when the web clip has no app name.
        if (!clip.sourceName() || clip.sourceName()->isEmpty())
            return *host;
        return *host + QStringLiteral(" · ") + *clip.sourceName();
    }
    return clip.sourceName().value_or(QStringLiteral("Unknown"));
}

ShareState shareState(ClipGroup group, bool revealed)
{
    if (group == ClipGroup::secret && !revealed)
        return {false, QStringLiteral("Reveal the secret first to share it")};
    return {true, QStringLiteral("Share by email or save to a file")};
}

QString copiedDate(double createdAt, const QTimeZone &zone)
{
    const QDateTime moment = QDateTime::fromMSecsSinceEpoch(qint64(createdAt * 1000), zone);
    const QLocale english = QLocale::c();
    return english.toString(moment.date(), QStringLiteral("MMM d, yyyy")) + QStringLiteral(" at ")
        + english.toString(moment.time(), QStringLiteral("h:mm AP"));
}

} // namespace corvane
