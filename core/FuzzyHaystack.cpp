#include "FuzzyHaystack.h"

#include "TextFolding.h"

#include <QVarLengthArray>

#include <algorithm>

namespace corvane {
namespace {

/** @brief A word while the index is built. */
struct Candidate {
    std::uint64_t hash;
    std::uint32_t bits;
    std::uint32_t length;
    qsizetype field;
    qsizetype offset;
};

} // namespace

FuzzyHaystack::FuzzyHaystack(const QStringList &fields)
    : m_fields(fields)
{
    std::vector<Candidate> candidates;
    bool complete = true;
    QVarLengthArray<char16_t, 1024> folded;
    for (qsizetype f = 0; f < m_fields.size(); ++f) {
        const QStringView text = m_fields[f];
        folded.resize(text.size());
        qsizetype wordStart = -1;
        std::uint32_t bits = 0;
        std::uint64_t hash = 0;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            const bool inWord = i < text.size() && TextFolding::isWordCharAt(text, i);
            if (i < text.size()) {
                folded[i] = TextFolding::fold(text[i].unicode());
                if (inWord) {
                    if (wordStart < 0) {
                        wordStart = i;
                        bits = 0;
                        hash = 1469598103934665603ull;
                    }
                    bits |= charBit(folded[i]);
                    hash = (hash ^ folded[i]) * 1099511628211ull;
                }
            }
            if (!inWord && wordStart >= 0) {
                const qsizetype length = i - wordStart;
                if (length >= minWordLength && length <= maxWordLength)
                    candidates.push_back({hash, bits, std::uint32_t(length), f, wordStart});
                else if (length > maxWordLength)
                    complete = false;
                wordStart = -1;
            }
        }
        m_grams.add(folded.constData(), folded.size());
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate &a, const Candidate &b) {
        return a.length != b.length ? a.length < b.length : a.hash < b.hash;
    });
    FuzzyWordIndex::Builder words;
    QVarLengthArray<char16_t, maxWordLength> word;
    const Candidate *previous = nullptr;
    for (const Candidate &candidate : candidates) {
        if (previous && previous->hash == candidate.hash && previous->length == candidate.length)
            continue;
        previous = &candidate;
        const QStringView text = QStringView(m_fields[candidate.field]).mid(candidate.offset, candidate.length);
        word.resize(text.size());
        for (qsizetype i = 0; i < text.size(); ++i)
            word[i] = TextFolding::fold(text[i].unicode());
        if (!words.add(candidate.bits, QStringView(word.constData(), word.size()))) {
            complete = false;
            break;
        }
        m_bucketBits[bucket(candidate.length)] |= candidate.bits;
    }
    // Words were left out: the buckets must not rule anything out, the caller reads the text.
    if (!complete)
        m_bucketBits.fill(~std::uint32_t{0});
    m_words = words.finish(complete);
}

void FuzzyHaystack::Grams::add(const char16_t *folded, qsizetype length)
{
    auto set = [](std::array<std::uint64_t, words> &filter, std::uint32_t hash) {
        const std::uint32_t slot = std::uint32_t((std::uint64_t(hash) * words) >> 26);
        filter[slot >> 6] |= std::uint64_t{1} << (slot & 63);
    };
    for (qsizetype i = 1; i < length; ++i) {
        const std::uint32_t pair = folded[i - 1] * 0x9E3779B1u ^ folded[i] * 0x85EBCA77u;
        set(bigrams, pair);
        if (i > 1)
            set(trigrams, (pair ^ folded[i - 2] * 0xC2B2AE3Du) * 0x27D4EB2Fu);
    }
}

bool FuzzyHaystack::mayContain(const Grams &term) const
{
    std::uint64_t missing = 0;
    for (size_t i = 0; i < Grams::words; ++i)
        missing |= (term.bigrams[i] & ~m_grams.bigrams[i]) | (term.trigrams[i] & ~m_grams.trigrams[i]);
    return missing == 0;
}

bool FuzzyHaystack::mayHaveCloseWord(std::uint32_t bits, qsizetype minLength, qsizetype maxLength, int limit) const
{
    minLength = std::max(minLength, minWordLength);
    if (minLength > maxLength)
        return !wordsComplete();
    // A close word misses at most `limit` of the term's characters, and so does its bucket.
    for (size_t b = bucket(minLength); b <= bucket(maxLength); ++b) {
        if (hasAtMostBits(bits & ~m_bucketBits[b], limit))
            return true;
    }
    return false;
}

void FuzzyHaystack::prefetchFieldList() const
{
#if defined(__GNUC__)
    __builtin_prefetch(m_fields.constData());
#endif
}

void FuzzyHaystack::prefetchFieldTexts() const
{
#if defined(__GNUC__)
    for (const QString &field : m_fields) {
        const char *text = reinterpret_cast<const char *>(field.constData());
        __builtin_prefetch(text);
        __builtin_prefetch(text + 64);
    }
#endif
}

std::size_t FuzzyHaystack::memoryUsage() const
{
    return sizeof(*this) + m_words.memoryUsage();
}

} // namespace corvane
