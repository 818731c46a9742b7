#pragma once

#include <array>
#include <cstddef>
#include <mutex>
#include <vector>

namespace corvane {

/**
 * @brief Memory for the many small blocks of the search indexes.
 *
 * A general allocator adds a size word to each block and rounds it up to 16 bytes, a tenth of a
 * typical index. Here blocks are carved from large chunks in steps of four bytes; a freed block
 * goes on the list of its size, and the next block of that size takes its place. Chunks are kept
 * for the arena's life, so a history that shrinks keeps its peak for the clips that follow.
 * Blocks larger than `largest` come from malloc. Any number of threads may use it at once.
 */
class HaystackArena
{
public:
    static constexpr std::size_t alignment = 4;
    static constexpr std::size_t largest = 2048;

    /** The arena every index uses; never destroyed, as indexes may outlive static destructors. */
    static HaystackArena &shared();

    HaystackArena() = default;
    ~HaystackArena();
    HaystackArena(const HaystackArena &) = delete;
    HaystackArena &operator=(const HaystackArena &) = delete;

    /** A block of at least `bytes`, aligned to `alignment`. */
    void *allocate(std::size_t bytes);
    /** Gives back a block `allocate(bytes)` returned. */
    void deallocate(void *block, std::size_t bytes) noexcept;
    /** The bytes a block of `bytes` takes, its share of the allocator's own records included. */
    static std::size_t footprint(std::size_t bytes);

    /** Bytes taken from the system, and the part of them on the free lists. */
    struct Usage {
        std::size_t reserved = 0;
        std::size_t free = 0;
    };
    Usage usage() const;

    /** Blocks are carved from chunks of this size. */
    static constexpr std::size_t chunkBytes = std::size_t{1} << 16;

private:
    // A free block holds the pointer to the next one, so none is smaller.
    static constexpr std::size_t smallest = sizeof(void *);

    static std::size_t roundUp(std::size_t bytes) { return bytes < smallest ? smallest : (bytes + alignment - 1) & ~(alignment - 1); }

    mutable std::mutex m_mutex;
    std::vector<unsigned char *> m_chunks;
    unsigned char *m_next = nullptr;
    unsigned char *m_end = nullptr;
    std::array<void *, largest / alignment + 1> m_free{};
    std::size_t m_freeBytes = 0;
};

} // namespace corvane
