#include "DragImageFileName.h"

#include <QLocale>

namespace corvane {
namespace {

constexpr qsizetype maxNameBytes = 255;
const QString extension = QStringLiteral(".png");

// The last path component loses everything from its last dot; a trailing "/" is dropped first,
// so "Shots/" reads as the component "Shots".
QString withoutExtension(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot > slash)
        path.truncate(dot);
    return path;
}

QString withoutControlCharacters(const QString &s)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        if (c.category() != QChar::Other_Control)
            out.append(c);
    }
    return out;
}

// Cuts `stem` so that stem + ".png" fits the file-system limit, at a whole code point, so the
// UTF-8 never ends in a broken sequence.
QString fitted(QString stem)
{
    const qsizetype budget = maxNameBytes - extension.size();
    qsizetype bytes = 0;
    qsizetype i = 0;
    while (i < stem.size()) {
        const bool pair = stem[i].isHighSurrogate() && i + 1 < stem.size() && stem[i + 1].isLowSurrogate();
        const char16_t unit = stem[i].unicode();
        const qsizetype width = pair ? 4 : unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
        if (bytes + width > budget)
            break;
        bytes += width;
        i += pair ? 2 : 1;
    }
    stem.truncate(i);
    return stem;
}

} // namespace

QString dragImageFileName(const QString &detail, const QDateTime &createdAt)
{
    if (!detail.isEmpty()) {
        QStringList pieces = withoutExtension(detail).split(u'/', Qt::KeepEmptyParts);
        QStringList all;
        for (const QString &piece : pieces)
            all += piece.split(u':', Qt::KeepEmptyParts);
        const QString stem = fitted(withoutControlCharacters(all.join(u'-')));
        if (!stem.isEmpty())
            return stem + extension;
    }
    const QString stamp = QLocale::c().toString(createdAt.toLocalTime(), QStringLiteral("yyyy-MM-dd 'at' HH.mm.ss"));
    return QStringLiteral("Image ") + stamp + extension;
}

} // namespace corvane
