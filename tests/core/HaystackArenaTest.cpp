#include "HaystackArena.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <cstring>
#include <thread>
#include <vector>

using namespace corvane;

namespace {

// A freed block is what the next block of its size gets, so edits and deletes reuse the space;
// other sizes and blocks too large to pool are kept apart.
TEST(HaystackArena, FreedBlocksAreReusedBySize)
{
    HaystackArena arena;
    void *a = arena.allocate(130);
    void *b = arena.allocate(130);
    void *other = arena.allocate(60);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a) % HaystackArena::alignment, 0u);
    EXPECT_GE(static_cast<char *>(b) - static_cast<char *>(a), 130);
    const std::size_t reserved = arena.usage().reserved;

    const std::size_t free = arena.usage().free;
    arena.deallocate(a, 130);
    EXPECT_EQ(arena.usage().free, free + 132);
    EXPECT_NE(arena.allocate(60), a);
    EXPECT_EQ(arena.allocate(129), a); // same four-byte step
    EXPECT_EQ(arena.usage().reserved, reserved);

    void *large = arena.allocate(HaystackArena::largest + 1);
    std::memset(large, 1, HaystackArena::largest + 1);
    arena.deallocate(large, HaystackArena::largest + 1);
    EXPECT_EQ(arena.usage().reserved, reserved);
    arena.deallocate(b, 130);
    arena.deallocate(other, 60);
}

// Blocks go to and come from several threads at once: none overlaps another while in use, and
// the space freed is used again instead of growing without end.
TEST(HaystackArena, ThreadsNeverShareABlock)
{
    HaystackArena arena;
    constexpr int threads = 6;
    std::vector<std::thread> workers;
    std::atomic<int> corrupted = 0;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            QRandomGenerator random(quint32(t + 1));
            std::vector<std::pair<unsigned char *, std::size_t>> held;
            for (int round = 0; round < 20000; ++round) {
                if (held.size() < 300 && random.bounded(3) != 0) {
                    const std::size_t size = 1 + random.bounded(300);
                    auto *block = static_cast<unsigned char *>(arena.allocate(size));
                    std::memset(block, t + 1, size);
                    held.emplace_back(block, size);
                    continue;
                }
                if (held.empty())
                    continue;
                const std::size_t at = random.bounded(quint32(held.size()));
                const auto [block, size] = held[at];
                for (std::size_t i = 0; i < size; ++i)
                    corrupted += block[i] != t + 1;
                arena.deallocate(block, size);
                held[at] = held.back();
                held.pop_back();
            }
            for (const auto &[block, size] : held)
                arena.deallocate(block, size);
        });
    }
    for (std::thread &worker : workers)
        worker.join();
    EXPECT_EQ(corrupted, 0);
    // At most 300 blocks of up to 300 bytes held per thread at once: under 1 MB in all.
    EXPECT_LE(arena.usage().reserved, std::size_t{8} << 20);
    // All of it free again, but for an end of a chunk too small for any block (under eight bytes).
    const HaystackArena::Usage usage = arena.usage();
    EXPECT_GE(usage.free + usage.reserved / HaystackArena::chunkBytes * 4, usage.reserved);
}

} // namespace
