#include "FuzzyHaystack.h"

#include "TextFolding.h"

#include <algorithm>

namespace corvane {
namespace {

/** @brief A word while the index is built: its entry plus a hash of its folded text. */
struct Candidate {
    FuzzyHaystack::Word word;
    std::uint64_t hash = 0;
};

} // namespace

FuzzyHaystack::FuzzyHaystack(const QStringList &fields)
    : m_fields(fields)
{
    std::vector<Candidate> candidates;
    for (qsizetype f = 0; f < m_fields.size() && f <= 0xFFFF; ++f) {
        const QStringView text = m_fields[f];
        char16_t previous = 0;
        qsizetype wordStart = -1;
        std::uint32_t bits = 0;
        std::uint64_t hash = 1469598103934665603ull;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            const bool inWord = i < text.size() && TextFolding::isWordCharAt(text, i);
            if (i < text.size()) {
                const char16_t folded = TextFolding::fold(text[i].unicode());
                if (i > 0) {
                    const int slot = bigramSlot(previous, folded);
                    m_bigrams[size_t(slot >> 6)] |= std::uint64_t{1} << (slot & 63);
                }
                previous = folded;
                if (inWord) {
                    if (wordStart < 0) {
                        wordStart = i;
                        bits = 0;
                        hash = 1469598103934665603ull;
                    }
                    bits |= charBit(folded);
                    hash = (hash ^ folded) * 1099511628211ull;
                }
            }
            if (!inWord && wordStart >= 0) {
                const qsizetype length = i - wordStart;
                if (length >= minWordLength && length <= maxWordLength && wordStart <= 0xFFFFFFFF)
                    candidates.push_back({{bits, std::uint32_t(wordStart), std::uint16_t(length), std::uint16_t(f)}, hash});
                wordStart = -1;
            }
        }
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate &a, const Candidate &b) {
        return a.word.length != b.word.length ? a.word.length < b.word.length : a.hash < b.hash;
    });
    m_words.reserve(candidates.size());
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (i > 0 && candidates[i].hash == candidates[i - 1].hash && candidates[i].word.length == candidates[i - 1].word.length)
            continue;
        m_words.push_back(candidates[i].word);
    }
    m_words.shrink_to_fit();
}

QStringView FuzzyHaystack::wordText(const Word &word) const
{
    return QStringView(m_fields[word.field]).mid(word.offset, word.length);
}

bool FuzzyHaystack::mayContain(const std::array<std::uint64_t, 8> &termBigrams) const
{
    std::uint64_t missing = 0;
    for (size_t i = 0; i < m_bigrams.size(); ++i)
        missing |= termBigrams[i] & ~m_bigrams[i];
    return missing == 0;
}

std::size_t FuzzyHaystack::memoryUsage() const
{
    return sizeof(*this) + m_words.capacity() * sizeof(Word);
}

} // namespace corvane
