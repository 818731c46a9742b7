#pragma once

#include <QStringView>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

namespace corvane {

/**
 * @brief Every distinct folded run of the indexed texts, once for the whole process.
 *
 * A text is split into maximal runs of word characters (letters and digits) and of other
 * characters; each run is folded and interned here, and a clip's index keeps only the ids of its
 * runs. A search looks at each distinct run once per term instead of at each clip's text.
 *
 * Runs are held one byte per ASCII unit (up to three for others, each UTF-16 unit on its own, so
 * a byte search finds exactly the unit matches), each followed by a byte no unit encodes, so a
 * search over the whole store never matches across runs. Nothing is ever removed: ids stay valid
 * for the process's life. One thread at a time adds runs (the rest wait); any number read the
 * runs below size() meanwhile without locking.
 */
class FuzzyRunDictionary
{
public:
    enum class Kind : std::uint8_t {
        word,       ///< letters and digits
        gap,        ///< anything else
        foldsToWord ///< a gap where a unit folds to a letter or digit (U+0345 folds to iota)
    };

    /** @brief A run while a text is indexed: its folded units encoded, and what scoring needs. */
    struct Pending {
        std::uint32_t offset = 0; ///< into the caller's byte buffer
        std::uint32_t bytes = 0;
        std::uint32_t units = 0;
        std::uint32_t bits = 0; ///< FuzzyWordScan::charBit of each folded unit
        Kind kind = Kind::word;
        std::uint64_t hash = 0;
    };

    /** @brief A stored run. */
    struct Run {
        const unsigned char *text; ///< encoded, ending at a byte >= separator
        std::uint32_t units;       ///< UTF-16 units, at most maxRunUnits
        std::uint32_t bits;
        Kind kind;
    };

    /** Runs longer than this are stored in pieces of this many units. */
    static constexpr std::uint32_t maxRunUnits = 1u << 20;
    /** Every run is followed by this byte plus its kind; no unit's encoding uses such a byte. */
    static constexpr unsigned char separator = 0xF8;
    /** The id of the run of one space, the most common gap by far. */
    static constexpr std::uint32_t spaceId = 0;

    /** The dictionary every index uses. */
    static FuzzyRunDictionary &shared();

    FuzzyRunDictionary();
    ~FuzzyRunDictionary();
    FuzzyRunDictionary(const FuzzyRunDictionary &) = delete;
    FuzzyRunDictionary &operator=(const FuzzyRunDictionary &) = delete;

    /** Runs with ids below this may be read; it only grows. */
    std::uint32_t size() const { return m_size.load(std::memory_order_acquire); }
    Run run(std::uint32_t id) const
    {
        const Info &info = m_infos[id >> infoBlockBits].load(std::memory_order_relaxed)[id & (infoBlockSize - 1)];
        return {m_chunks[info.position >> chunkBits].load(std::memory_order_relaxed) + (info.position & (chunkSize - 1)),
                info.units, info.bits, info.kind};
    }

    /** Ids for the runs (their texts in `bytes`), adding the ones not yet known. */
    void intern(std::span<const Pending> runs, const unsigned char *bytes, std::uint32_t *ids);

    /**
     * Calls visit(first, end, text, bytes) for each stretch of stored text holding runs first to
     * end - 1 of the runs below `count`, in order; `text` is their `bytes`, separators included.
     */
    template<typename Visit> void forEachStretch(std::uint32_t count, Visit &&visit) const;
    /** Where run `id` starts in its stretch. */
    std::uint32_t offsetInStretch(std::uint32_t id) const
    {
        return m_infos[id >> infoBlockBits].load(std::memory_order_relaxed)[id & (infoBlockSize - 1)].position
            & (chunkSize - 1);
    }

    /** Bytes held: texts, per-run data and the lookup table. */
    std::size_t memoryUsage() const;

    /** Encodes one folded UTF-16 unit into 1-3 bytes; returns how many. */
    static int encode(char16_t unit, unsigned char *out)
    {
        if (unit < 0x80) {
            out[0] = static_cast<unsigned char>(unit);
            return 1;
        }
        if (unit < 0x800) {
            out[0] = static_cast<unsigned char>(0xC0 | (unit >> 6));
            out[1] = static_cast<unsigned char>(0x80 | (unit & 0x3F));
            return 2;
        }
        out[0] = static_cast<unsigned char>(0xE0 | (unit >> 12));
        out[1] = static_cast<unsigned char>(0x80 | ((unit >> 6) & 0x3F));
        out[2] = static_cast<unsigned char>(0x80 | (unit & 0x3F));
        return 3;
    }
    /** The hash a Pending run must carry. */
    static std::uint64_t hash(const unsigned char *bytes, std::uint32_t length, Kind kind);
    /** Decodes a stored run's units into `out` (which holds at least run.units). */
    static void decode(const Run &run, char16_t *out);
    /** The length in bytes of a stored run's text. */
    static std::uint32_t byteLength(const unsigned char *text);

private:
    struct Info {
        std::uint32_t position; // chunk << chunkBits | offset
        std::uint32_t bits;
        std::uint32_t units;
        Kind kind;
    };

    static constexpr std::uint32_t chunkBits = 24;
    static constexpr std::uint32_t chunkSize = 1u << chunkBits;
    static constexpr std::uint32_t maxChunks = 256;
    static constexpr std::uint32_t infoBlockBits = 16;
    static constexpr std::uint32_t infoBlockSize = 1u << infoBlockBits;
    static constexpr std::uint32_t maxInfoBlocks = 1u << 14;

    std::uint32_t find(const Pending &run, const unsigned char *bytes, std::uint64_t slotHash) const;
    std::uint32_t add(const Pending &run, const unsigned char *bytes);
    void grow();

    mutable std::mutex m_writer;
    std::atomic<std::uint32_t> m_size{0};
    std::uint32_t m_count = 0;     // runs written; published through m_size
    std::uint32_t m_chunkUsed = 0; // bytes used in the last chunk
    std::uint32_t m_chunkCount = 0;
    std::array<std::atomic<unsigned char *>, maxChunks> m_chunks{};
    std::array<std::atomic<std::uint32_t>, maxChunks> m_chunkFirstIds{};
    std::unique_ptr<std::atomic<Info *>[]> m_infos;
    // Open addressing: id + 1, 0 when empty; only the writer reads it.
    std::vector<std::uint32_t> m_table;
    std::size_t m_textBytes = 0;
};

template<typename Visit> void FuzzyRunDictionary::forEachStretch(std::uint32_t count, Visit &&visit) const
{
    if (count == 0)
        return;
    const Info &last = m_infos[(count - 1) >> infoBlockBits].load(std::memory_order_relaxed)[(count - 1) & (infoBlockSize - 1)];
    const std::uint32_t lastChunk = last.position >> chunkBits;
    for (std::uint32_t c = 0; c <= lastChunk; ++c) {
        const unsigned char *text = m_chunks[c].load(std::memory_order_relaxed);
        const std::uint32_t first = m_chunkFirstIds[c].load(std::memory_order_relaxed);
        std::uint32_t end;
        std::size_t bytes;
        if (c == lastChunk) {
            end = count;
            const std::uint32_t at = last.position & (chunkSize - 1);
            bytes = at + byteLength(text + at) + 1;
        } else {
            end = m_chunkFirstIds[c + 1].load(std::memory_order_relaxed);
            const std::uint32_t at = offsetInStretch(end - 1);
            bytes = at + byteLength(text + at) + 1;
        }
        if (first < end)
            visit(first, end, text, bytes);
    }
}

} // namespace corvane
