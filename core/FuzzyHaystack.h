#pragma once

#include <QStringList>
#include <QStringView>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>

namespace corvane {

/**
 * @brief The search index of one clip's fields: the ids of their runs in the shared
 * FuzzyRunDictionary, in order, so a search never reads the clip's text.
 *
 * Each field is split into maximal runs of word characters and of others; the index holds the
 * ids of those runs, a code of one to five bytes each, and a zero between fields. A word followed
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

    /** The codes: 0 ends a field, else (run id * 2 + followed by a space) + 1. */
    std::span<const unsigned char> codes() const
    {
        if (!m_block)
            return {};
        return {reinterpret_cast<const unsigned char *>(m_block + 1), m_block->bytes};
    }
    /** Reads one code and moves past it. */
    static std::uint32_t readCode(const unsigned char *&p)
    {
        const unsigned b = *p++;
        if (b < oneByte)
            return b;
        if (b < threeBytes) {
            const std::uint32_t value = oneByte + ((b - oneByte) << 8 | p[0]);
            p += 1;
            return value;
        }
        if (b < 0xFF) {
            const std::uint32_t value = twoByteEnd + ((b - threeBytes) << 16 | std::uint32_t(p[0]) << 8 | p[1]);
            p += 2;
            return value;
        }
        const std::uint32_t value = std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
        p += 4;
        return value;
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
    // Codes below oneByte take one byte, the next 48 * 256 two, the next 15 * 65536 three.
    static constexpr unsigned oneByte = 192;
    static constexpr unsigned threeBytes = 240;
    static constexpr std::uint32_t twoByteEnd = oneByte + (threeBytes - oneByte) * 256;
    static constexpr std::uint32_t threeByteEnd = twoByteEnd + (0xFF - threeBytes) * 65536;

    struct Block {
        std::atomic<std::uint32_t> references{1};
        std::uint32_t bytes = 0;
    };

    static void appendCode(std::uint32_t code, unsigned char *&out);
    void build(std::span<const QStringView> fields);
    void release() noexcept;

    Block *m_block = nullptr;
};

} // namespace corvane
