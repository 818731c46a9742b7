#include "ClipboardContent.h"

#include <QSet>
#include <QRegularExpression>
#include <QStringDecoder>

namespace corvane::ClipboardFormats {

bool isBookkeepingTarget(const QString &format)
{
    static const QSet<QString> targets{QStringLiteral("TARGETS"), QStringLiteral("MULTIPLE"), QStringLiteral("TIMESTAMP"),
                                       QStringLiteral("SAVE_TARGETS")};
    return targets.contains(format);
}

QStringList withoutBookkeeping(const QStringList &formats)
{
    QStringList kept;
    for (const QString &format : formats) {
        if (!format.isEmpty() && !isBookkeepingTarget(format) && !kept.contains(format))
            kept.append(format);
    }
    return kept;
}

namespace {

QList<QUrl> fileUrlsFromLines(const QList<QByteArray> &lines)
{
    QList<QUrl> urls;
    for (const QByteArray &raw : lines) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QUrl url = QUrl::fromEncoded(line, QUrl::StrictMode);
        if (url.isValid() && url.isLocalFile() && !url.toLocalFile().isEmpty())
            urls.append(url);
    }
    return urls;
}

} // namespace

QList<QUrl> fileUrlsFromUriList(const QByteArray &data)
{
    QByteArray body = data;
    body.replace('\r', '\n');
    return fileUrlsFromLines(body.split('\n'));
}

QList<QUrl> fileUrlsFromGnomeCopiedFiles(const QByteArray &data)
{
    QList<QByteArray> lines = data.split('\n');
    if (lines.isEmpty())
        return {};
    const QByteArray verb = lines.takeFirst().trimmed();
    if (verb != "copy" && verb != "cut")
        return {};
    return fileUrlsFromLines(lines);
}

QString textFromData(const QByteArray &data)
{
    const bool bigEndianMark = data.startsWith("\xfe\xff");
    const bool littleEndianMark = data.startsWith("\xff\xfe");
    QString text;
    // Without a byte-order mark, zero bytes give UTF-16 away (UTF-8 text has none).
    if (bigEndianMark || littleEndianMark || (data.size() >= 2 && data.contains('\0'))) {
        auto decode
            = QStringDecoder(bigEndianMark ? QStringDecoder::Utf16BE : QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
        text = decode(data);
    } else {
        text = QString::fromUtf8(data);
    }
    if (text.startsWith(QChar(0xfeff)))
        text.remove(0, 1);
    while (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

std::optional<QString> sourceUrlFromData(const QByteArray &data)
{
    const QString text = textFromData(data);
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\\r\\n\\x{0}]")));
    const QString line = (end < 0 ? text : text.left(end)).trimmed();
    if (line.isEmpty())
        return std::nullopt;
    return line;
}

} // namespace corvane::ClipboardFormats
