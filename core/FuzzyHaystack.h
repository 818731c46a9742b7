#pragma once

#include <QStringList>
#include <QtEndian>
#include <QStringView>

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace corvane {

namespace FuzzyHaystackCodes {

/** A two-byte code of this value stands for the code in the four bytes after it. */
inline constexpr std::uint32_t escape = 0xFFFF;

/** Where the codes of a group are read, per lengths byte (see FuzzyHaystack::forEachCode). */
struct GroupLayout {
    std::uint8_t at[8];    ///< the two bytes ending with code i, from the lengths byte
    std::uint8_t shift[8]; ///< 8 for a one-byte code, which is the upper byte of those two
    std::uint8_t size;     ///< lengths byte included, with no escapes
};

constexpr std::array<GroupLayout, 256> makeGroupLayouts()
{
    std::array<GroupLayout, 256> layouts{};
    for (unsigned lengths = 0; lengths < 256; ++lengths) {
        GroupLayout &layout = layouts[lengths];
        unsigned offset = 1;
        for (unsigned i = 0; i < 8; ++i) {
            const bool wide = lengths >> i & 1;
            layout.at[i] = std::uint8_t(wide ? offset : offset - 1);
            layout.shift[i] = wide ? 0 : 8;
            offset += wide ? 2 : 1;
        }
        layout.size = std::uint8_t(offset);
    }
    return layouts;
}

inline constexpr std::array<GroupLayout, 256> groupLayouts = makeGroupLayouts();

/**
 * Reads the codes of a group that holds no escape; false otherwise. A short last group reads as
 * whole, its missing codes as zeros, which end a field like the one after the last.
 */
inline bool readWholeGroup(const unsigned char *p, const unsigned char *end, std::uint32_t *codes)
{
    const GroupLayout &layout = groupLayouts[*p];
    std::uint32_t escapes = 0;
    if (end - p >= layout.size) {
        for (int i = 0; i < 8; ++i) {
            std::uint16_t value;
            std::memcpy(&value, p + layout.at[i], sizeof value);
            codes[i] = std::uint32_t(qFromLittleEndian(value)) >> layout.shift[i];
            escapes |= codes[i] + 1;
        }
        return escapes >> 16 == 0;
    }
    // Missing codes would lie past the end: they read the lengths byte instead, then count as 0.
    const std::ptrdiff_t available = end - p;
    for (int i = 0; i < 8; ++i) {
        const bool present = layout.at[i] + 2 <= available;
        std::uint16_t value;
        std::memcpy(&value, p + (present ? layout.at[i] : 0), sizeof value);
        codes[i] = present ? std::uint32_t(qFromLittleEndian(value)) >> layout.shift[i] : 0;
        escapes |= codes[i] + 1;
    }
    return escapes >> 16 == 0;
}

/** Reads the codes of any group, one by one; returns where the next group starts. */
const unsigned char *readGroup(const unsigned char *p, const unsigned char *end, std::uint32_t *codes, int &count);

} // namespace FuzzyHaystackCodes

/**
 * @brief The search index of one clip's fields: the ids of their runs in the shared
 * FuzzyRunDictionary, in order, so a search never reads the clip's text.
 *
 * Each field is split into maximal runs of word characters and of others; the index holds the
 * ids of those runs, a code of one or two bytes each (rarely six), and a zero between fields. A
 * word followed by a single space is one code (its lowest bit), as that gap makes up most of a
 * text's runs. The codes live in one block from the HaystackArena that copies share.
 */
class FuzzyHaystack
{
public:
    FuzzyHaystack() = default;
    /** Indexes the fields (adding new runs to the shared dictionary); keeps none of their text. */
    explicit FuzzyHaystack(std::span<const QStringView> fields);
    explicit FuzzyHaystack(const QStringList &fields);
    FuzzyHaystack(const FuzzyHaystack &other) noexcept;
    FuzzyHaystack(FuzzyHaystack &&other) noexcept;
    FuzzyHaystack &operator=(const FuzzyHaystack &other) noexcept;
    FuzzyHaystack &operator=(FuzzyHaystack &&other) noexcept;
    ~FuzzyHaystack() { release(); }

    /** False for a default-constructed haystack, which indexes nothing. */
    bool isBuilt() const { return m_block != nullptr; }
    explicit operator bool() const { return isBuilt(); }

    /** The coded bytes (see forEachCode). */
    std::span<const unsigned char> codes() const
    {
        if (!m_block)
            return {};
        const unsigned char *data = reinterpret_cast<const unsigned char *>(m_block + 1);
        if (m_block->bytes != Block::large)
            return {data, m_block->bytes};
        std::uint32_t bytes;
        std::memcpy(&bytes, data, sizeof bytes);
        return {data + sizeof bytes, bytes};
    }

    /**
     * Calls visit(code) for each code: 0 ends a field, else (run id * 2 + followed by a space) + 1.
     * Codes come in groups of up to eight, after a byte with a bit per code: one byte or two, so
     * where each one lies is known at once. A rare code of 0xFFFF or more is written as the two
     * bytes of `escape` and then four bytes of its own. Only the last group may be short; the
     * codes it lacks are visited as zeros.
     */
    template<typename Visit> void forEachCode(Visit &&visit) const
    {
        const std::span<const unsigned char> all = codes();
        const unsigned char *p = all.data();
        const unsigned char *end = p + all.size();
        while (p < end) {
            std::uint32_t group[8];
            int count = 8;
            if (FuzzyHaystackCodes::readWholeGroup(p, end, group))
                p += FuzzyHaystackCodes::groupLayouts[*p].size;
            else
                p = FuzzyHaystackCodes::readGroup(p, end, group, count);
            for (int i = 0; i < count; ++i)
                visit(group[i]);
        }
    }

    /** Asks the processor to start loading the codes; for loops over many haystacks. */
    void prefetch() const
    {
#if defined(__GNUC__)
        if (m_block) {
            __builtin_prefetch(m_block);
            __builtin_prefetch(reinterpret_cast<const char *>(m_block) + 64);
        }
#endif
    }
    /** Bytes of this object and of the block it shares, as the arena lays it out. */
    std::size_t memoryUsage() const;

    /**
     * Gives the runs most frequent in `sample` the ids left whose codes take a single byte, so the
     * indexes built after it are smaller. For the first texts a process indexes; ids already
     * handed out stay as they are.
     */
    static void rankDictionary(std::span<const QStringList> sample);
    /** Runs with ids below this take a one-byte code, whether a space follows or not. */
    static constexpr std::uint32_t oneByteIds = 127;

private:
    // The count saturates: a block shared that often is never freed rather than freed too early.
    struct Block {
        static constexpr std::uint16_t shared = 0xFFFF;
        static constexpr std::uint16_t large = 0xFFFF; // the size follows, in four bytes
        std::atomic<std::uint16_t> references{1};
        std::uint16_t bytes = 0;
    };
    static_assert(sizeof(Block) == 4);

    void build(std::span<const QStringView> fields);
    void release() noexcept;
    std::size_t blockBytes() const;

    Block *m_block = nullptr;
};

} // namespace corvane
