#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstdint>
#include <vector>

namespace corvane {

/**
 * @brief The searchable fields of one clip plus a small index, built once per clip and kept
 * next to it, so scoring a query against 100k clips rejects most of them without reading text.
 *
 * The index holds a bigram filter (no filter hit means no case-insensitive occurrence) and the
 * distinct words of three or more characters with their lengths and character bits (enough to
 * rule out typo matches). Texts are shared with the caller's strings, not copied.
 */
class FuzzyHaystack {
public:
    /** @brief One distinct word: where it is and which (hashed) characters it holds. */
    struct Word {
        std::uint32_t bits = 0;
        std::uint32_t offset = 0;
        std::uint16_t length = 0;
        std::uint16_t field = 0;
    };

    FuzzyHaystack() = default;
    explicit FuzzyHaystack(const QStringList &fields);

    const QStringList &fields() const { return m_fields; }
    /** Distinct words sorted by length; words longer than maxWordLength are left out. */
    const std::vector<Word> &words() const { return m_words; }
    QStringView wordText(const Word &word) const;

    /** False when a bigram of the term is missing, i.e. the term cannot occur. */
    bool mayContain(const std::array<std::uint64_t, 8> &termBigrams) const;
    std::size_t memoryUsage() const;

    static constexpr qsizetype maxWordLength = 255;
    static constexpr qsizetype minWordLength = 3;

    /** Filter slot of a pair of folded units, and the bit of one folded unit. */
    static int bigramSlot(char16_t a, char16_t b) { return int(((a * 0x9E3779B1u) ^ (b * 0x85EBCA77u)) >> 23); }
    static std::uint32_t charBit(char16_t folded) { return std::uint32_t{1} << (folded & 31); }

private:
    QStringList m_fields;
    std::array<std::uint64_t, 8> m_bigrams{};
    std::vector<Word> m_words;
};

} // namespace corvane
