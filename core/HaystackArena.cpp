#include "HaystackArena.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace corvane {

HaystackArena &HaystackArena::shared()
{
    static HaystackArena *arena = new HaystackArena;
    return *arena;
}

HaystackArena::~HaystackArena()
{
    for (unsigned char *chunk : m_chunks)
        std::free(chunk);
}

void *HaystackArena::allocate(std::size_t bytes)
{
    if (bytes > largest) {
        void *block = std::malloc(bytes);
        if (!block)
            throw std::bad_alloc();
        return block;
    }
    const std::size_t size = roundUp(bytes);
    std::lock_guard lock(m_mutex);
    void *&free = m_free[size / alignment];
    if (free) {
        void *block = free;
        std::memcpy(&free, block, sizeof free);
        m_freeBytes -= size;
        return block;
    }
    if (std::size_t(m_end - m_next) < size) {
        // What is left of the last chunk serves as free blocks of its size.
        if (const std::size_t rest = std::size_t(m_end - m_next); rest >= smallest) {
            std::memcpy(m_next, &m_free[rest / alignment], sizeof(void *));
            m_free[rest / alignment] = m_next;
            m_freeBytes += rest;
        }
        auto *chunk = static_cast<unsigned char *>(std::malloc(chunkBytes));
        if (!chunk)
            throw std::bad_alloc();
        m_chunks.push_back(chunk);
        m_next = chunk;
        m_end = chunk + chunkBytes;
    }
    void *block = m_next;
    m_next += size;
    return block;
}

void HaystackArena::deallocate(void *block, std::size_t bytes) noexcept
{
    if (!block)
        return;
    if (bytes > largest) {
        std::free(block);
        return;
    }
    const std::size_t size = roundUp(bytes);
    std::lock_guard lock(m_mutex);
    void *&free = m_free[size / alignment];
    std::memcpy(block, &free, sizeof free);
    free = block;
    m_freeBytes += size;
}

std::size_t HaystackArena::footprint(std::size_t bytes)
{
    if (bytes > largest) // as glibc lays blocks out: a size word each, in 16-byte steps
        return std::max<std::size_t>(32, (bytes + sizeof(std::size_t) + 15) & ~std::size_t{15});
    return roundUp(bytes);
}

HaystackArena::Usage HaystackArena::usage() const
{
    std::lock_guard lock(m_mutex);
    return {m_chunks.size() * chunkBytes, m_freeBytes + std::size_t(m_end - m_next)};
}

} // namespace corvane
