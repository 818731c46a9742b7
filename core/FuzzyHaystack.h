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

/** @brief Where the codes of a group start and which bytes are theirs, per lengths byte. */
struct GroupLayout {
    std::uint8_t offset[4];
    std::uint8_t size;
    std::uint32_t mask[4];
};

constexpr std::array<GroupLayout, 256> makeGroupLayouts()
{
    std::array<GroupLayout, 256> layouts{};
    for (unsigned lengths = 0; lengths < 256; ++lengths) {
        GroupLayout &layout = layouts[lengths];
        unsigned offset = 0;
        for (unsigned i = 0; i < 4; ++i) {
            const unsigned length = (lengths >> (2 * i) & 3) + 1;
            layout.offset[i] = std::uint8_t(offset);
            layout.mask[i] = ~std::uint32_t{0} >> (32 - 8 * length);
            offset += length;
        }
        layout.size = std::uint8_t(offset);
    }
    return layouts;
}

inline constexpr std::array<GroupLayout, 256> groupLayouts = makeGroupLayouts();

} // namespace FuzzyHaystackCodes

/**
 * @brief The search index of one clip's fields: the ids of their runs in the shared
 * FuzzyRunDictionary, in order, so a search never reads the clip's text.
 *
 * Each field is split into maximal runs of word characters and of others; the index holds the
 * ids of those runs, a code of one to four bytes each, and a zero between fields. A word followed
 * by a single space is one code (its lowest bit), as that gap makes up most of a text's runs.
 * The codes live in one block that copies share.
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

    /** The coded bytes (see forEachCode), and three bytes to spare after them. */
    std::span<const unsigned char> codes() const
    {
        if (!m_block)
            return {};
        return {reinterpret_cast<const unsigned char *>(m_block + 1), m_block->bytes};
    }

    /**
     * Calls visit(code) for each code: 0 ends a field, else (run id * 2 + followed by a space) + 1.
     * Codes come in groups of four, a byte holding their lengths (one to four bytes each) first,
     * so the lengths of a group are known at once; the last group is filled up with zeros.
     */
    template<typename Visit> void forEachCode(Visit &&visit) const
    {
        const std::span<const unsigned char> all = codes();
        const unsigned char *p = all.data();
        const unsigned char *end = p + all.size();
        while (p < end) {
            std::uint32_t group[4];
            p = readGroup(p, group);
            for (const std::uint32_t code : group)
                visit(code);
        }
    }
    /** Reads the group at `p` into `codes`; returns where the next one starts. */
    static const unsigned char *readGroup(const unsigned char *p, std::uint32_t *codes)
    {
        const FuzzyHaystackCodes::GroupLayout &layout = FuzzyHaystackCodes::groupLayouts[*p++];
        for (int i = 0; i < 4; ++i) {
            std::uint32_t value;
            std::memcpy(&value, p + layout.offset[i], sizeof value);
            codes[i] = qFromLittleEndian(value) & layout.mask[i];
        }
        return p + layout.size;
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
    /** Bytes of this object and of the block it shares, with the allocator's own overhead. */
    std::size_t memoryUsage() const;

private:
    /** Reading a code loads four bytes, so up to three past the last code. */
    static constexpr std::size_t spareBytes = 3;

    struct Block {
        std::atomic<std::uint32_t> references{1};
        std::uint32_t bytes = 0;
    };

    void build(std::span<const QStringView> fields);
    void release() noexcept;

    Block *m_block = nullptr;
};

} // namespace corvane
