#include "TextFolding.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace corvane::TextFolding {
namespace {

bool isAsciiLetter(char16_t c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

// Only these non-ASCII units fold into ASCII (KELVIN SIGN to k, LONG S to s).
bool hasNonAsciiFold(char16_t c) { return c == 'k' || c == 's'; }

bool matchesAt(QStringView text, QStringView folded, qsizetype at)
{
    const char16_t *h = reinterpret_cast<const char16_t *>(text.data()) + at;
    const char16_t *t = reinterpret_cast<const char16_t *>(folded.data());
    for (qsizetype j = 0; j < folded.size(); ++j) {
        if (fold(h[j]) != t[j])
            return false;
    }
    return true;
}

qsizetype scalarIndexOf(QStringView text, QStringView folded, qsizetype from)
{
    const qsizetype last = text.size() - folded.size();
    const char16_t first = folded[0].unicode();
    for (qsizetype i = from; i <= last; ++i) {
        if (fold(text[i].unicode()) == first && matchesAt(text, folded, i))
            return i;
    }
    return -1;
}

#if defined(__SSE2__)
/** Lanes of `v` equal to `c`, ignoring ASCII case when `c` is a letter, plus non-ASCII lanes if asked. */
inline __m128i candidates(__m128i v, char16_t c, bool nonAscii)
{
    const __m128i caseBit = _mm_set1_epi16(isAsciiLetter(c) ? 0x20 : 0);
    __m128i hit = _mm_cmpeq_epi16(_mm_or_si128(v, caseBit), _mm_set1_epi16(short(c)));
    if (nonAscii) {
        const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(short(0xFF80))), _mm_setzero_si128());
        hit = _mm_or_si128(hit, _mm_andnot_si128(ascii, _mm_set1_epi16(-1)));
    }
    return hit;
}
#endif

} // namespace

qsizetype indexOfFolded(QStringView text, QStringView folded, qsizetype from)
{
    if (folded.isEmpty())
        return from <= text.size() ? from : -1;
    if (from < 0 || text.size() - from < folded.size())
        return -1;
#if defined(__SSE2__)
    bool ascii = true;
    for (QChar c : folded)
        ascii = ascii && c.unicode() < 0x80;
    if (!ascii || folded.size() < 2)
        return scalarIndexOf(text, folded, from);
    const char16_t c0 = folded[0].unicode();
    const char16_t c1 = folded[1].unicode();
    const bool wide0 = hasNonAsciiFold(c0);
    const bool wide1 = hasNonAsciiFold(c1);
    const char16_t *h = reinterpret_cast<const char16_t *>(text.data());
    const qsizetype last = text.size() - folded.size();
    qsizetype i = from;
    // Compare eight positions at once on the first two characters, then verify the rest.
    for (; i + 9 <= text.size() && i <= last; i += 8) {
        const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(h + i));
        const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(h + i + 1));
        const __m128i hit = _mm_and_si128(candidates(v0, c0, wide0), candidates(v1, c1, wide1));
        unsigned bits = unsigned(_mm_movemask_epi8(hit));
        while (bits) {
            const qsizetype at = i + (__builtin_ctz(bits) >> 1);
            bits &= bits - 1;
            bits &= bits - 1; // each lane is two mask bits
            if (at <= last && matchesAt(text, folded, at))
                return at;
        }
    }
    return i <= last ? scalarIndexOf(text, folded, i) : -1;
#else
    return scalarIndexOf(text, folded, from);
#endif
}

} // namespace corvane::TextFolding
