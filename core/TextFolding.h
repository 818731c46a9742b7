#pragma once

#include <QChar>
#include <QStringView>

namespace corvane::TextFolding {

/** Case fold of one UTF-16 unit; the same length-preserving fold Qt's case-insensitive search uses. */
inline char16_t fold(char16_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? char16_t(c + 32) : c;
    return char16_t(QChar::toCaseFolded(char32_t(c)));
}

/** Whether the code point at `i` (a whole surrogate pair when it starts one) is a letter or digit. */
inline bool isWordCharAt(QStringView text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    if (c < 0x80)
        return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode()))
        return QChar::isLetterOrNumber(QChar::surrogateToUcs4(c, text[i + 1].unicode()));
    if (QChar::isLowSurrogate(c) && i > 0 && QChar::isHighSurrogate(text[i - 1].unicode()))
        return QChar::isLetterOrNumber(QChar::surrogateToUcs4(text[i - 1].unicode(), c));
    return QChar::isLetterOrNumber(char32_t(c));
}

/** True when position `i` begins a word: nothing word-like stands right before it. */
inline bool startsWord(QStringView text, qsizetype i) { return i == 0 || !isWordCharAt(text, i - 1); }

/**
 * Finds `folded` (already case-folded) in `text`, case-insensitively, from `from` on.
 * Returns the UTF-16 index in `text`, or -1. Vectorised for ASCII needles.
 */
qsizetype indexOfFolded(QStringView text, QStringView folded, qsizetype from = 0);

} // namespace corvane::TextFolding
