#include "FuzzyRunDictionary.h"

#include <cstdlib>
#include <cstring>

namespace corvane {

namespace {

constexpr std::size_t firstTableSize = 1 << 12;

/** Whether a table of `size` slots holding `count` runs is full enough to grow: 70 %. */
bool isCrowded(std::size_t count, std::size_t size) { return count * 10 > size * 7; }

} // namespace

FuzzyRunDictionary &FuzzyRunDictionary::shared()
{
    // Never destroyed: threads still indexing while the process exits may use it.
    static FuzzyRunDictionary *dictionary = new FuzzyRunDictionary;
    return *dictionary;
}

FuzzyRunDictionary::FuzzyRunDictionary()
    : m_infos(new std::atomic<Info *>[maxInfoBlocks])
    , m_table(firstTableSize, 0)
{
    for (std::uint32_t b = 0; b < maxInfoBlocks; ++b)
        m_infos[b].store(nullptr, std::memory_order_relaxed);
    // The single space gets the first id, so an index can mark it with one bit.
    const unsigned char space = ' ';
    Pending run;
    run.bytes = 1;
    run.units = 1;
    run.bits = 0;
    run.kind = Kind::gap;
    run.hash = hash(&space, 1, Kind::gap);
    std::uint32_t id = 0;
    intern(std::span(&run, 1), &space, &id);
}

FuzzyRunDictionary::~FuzzyRunDictionary()
{
    for (auto &chunk : m_chunks)
        delete[] chunk.load();
    for (std::uint32_t b = 0; b < maxInfoBlocks; ++b)
        std::free(m_infos[b].load());
}

std::uint64_t FuzzyRunDictionary::hash(const unsigned char *bytes, std::uint32_t length, Kind kind)
{
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ (std::uint64_t(kind) << 56) ^ length;
    std::uint32_t i = 0;
    for (; i + 8 <= length; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        h = (h ^ word) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 29;
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, bytes + i, length - i);
    h = (h ^ tail) * 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 32;
    h *= 0xFF51AFD7ED558CCDull;
    return h ^ (h >> 29);
}

std::uint32_t FuzzyRunDictionary::byteLength(const unsigned char *text)
{
    std::uint32_t length = 0;
    while (text[length] < separator)
        ++length;
    return length;
}

void FuzzyRunDictionary::decode(const Run &run, char16_t *out)
{
    const unsigned char *p = run.text;
    while (*p < separator) {
        if (*p < 0x80) {
            *out++ = *p++;
        } else if (*p < 0xE0) {
            *out++ = char16_t((p[0] & 0x1F) << 6 | (p[1] & 0x3F));
            p += 2;
        } else {
            *out++ = char16_t((p[0] & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F));
            p += 3;
        }
    }
}

std::uint32_t FuzzyRunDictionary::find(const Pending &run, const unsigned char *bytes, std::uint64_t slotHash) const
{
    const std::size_t mask = m_table.size() - 1;
    for (std::size_t slot = slotHash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t entry = m_table[slot];
        if (entry == 0)
            return ~std::uint32_t{0};
        const std::uint32_t id = entry - 1;
        const Run stored = this->run(id);
        if (stored.kind != run.kind || stored.units != run.units)
            continue;
        // The stored text ends at a separator, which no byte of `bytes` equals.
        std::uint32_t i = 0;
        while (i < run.bytes && stored.text[i] == bytes[i])
            ++i;
        if (i == run.bytes && stored.text[i] >= separator)
            return id;
    }
}

void FuzzyRunDictionary::grow()
{
    std::vector<std::uint32_t> table(m_table.size() * 2, 0);
    const std::size_t mask = table.size() - 1;
    for (const std::uint32_t entry : m_table) {
        if (entry == 0)
            continue;
        const Run stored = run(std::uint32_t(entry) - 1);
        const std::uint64_t h = hash(stored.text, byteLength(stored.text), stored.kind);
        std::size_t slot = h & mask;
        while (table[slot] != 0)
            slot = (slot + 1) & mask;
        table[slot] = entry;
    }
    m_table.swap(table);
}

std::uint32_t FuzzyRunDictionary::add(const Pending &run, const unsigned char *bytes)
{
    const std::uint32_t id = m_count;
    const std::uint32_t needed = run.bytes + 1;
    if (m_chunkCount == 0 || m_chunkUsed + needed > chunkSize) {
        // Pages of a chunk are only backed once written, so a fresh chunk costs what it holds.
        m_chunks[m_chunkCount].store(new unsigned char[chunkSize], std::memory_order_relaxed);
        m_chunkFirstIds[m_chunkCount].store(id, std::memory_order_relaxed);
        ++m_chunkCount;
        m_chunkUsed = 0;
    }
    unsigned char *text = m_chunks[m_chunkCount - 1].load(std::memory_order_relaxed) + m_chunkUsed;
    std::memcpy(text, bytes, run.bytes);
    text[run.bytes] = static_cast<unsigned char>(separator + std::uint8_t(run.kind));
    const std::uint32_t block = id >> infoBlockBits;
    Info *infos = m_infos[block].load(std::memory_order_relaxed);
    if (!infos) {
        infos = static_cast<Info *>(std::malloc(sizeof(Info) * infoBlockSize));
        m_infos[block].store(infos, std::memory_order_relaxed);
    }
    infos[id & (infoBlockSize - 1)] = {(m_chunkCount - 1) << chunkBits | m_chunkUsed, run.bits, run.units, run.kind};
    m_chunkUsed += needed;
    m_textBytes += needed;
    ++m_count;
    return id;
}

void FuzzyRunDictionary::intern(std::span<const Pending> runs, const unsigned char *bytes, std::uint32_t *ids)
{
    std::lock_guard lock(m_writer);
    for (const Pending &run : runs) {
        const unsigned char *text = bytes + run.offset;
        std::uint32_t id = find(run, text, run.hash);
        if (id == ~std::uint32_t{0}) {
            if (isCrowded(m_count + 1, m_table.size()))
                grow();
            id = add(run, text);
            const std::size_t mask = m_table.size() - 1;
            std::size_t slot = run.hash & mask;
            while (m_table[slot] != 0)
                slot = (slot + 1) & mask;
            m_table[slot] = id + 1;
        }
        *ids++ = id;
    }
    // Readers see a run only once all of it is written.
    m_size.store(m_count, std::memory_order_release);
}

std::size_t FuzzyRunDictionary::memoryUsage() const
{
    std::lock_guard lock(m_writer);
    // Only the written parts of the chunks and info blocks are backed by memory.
    return m_textBytes + std::size_t(m_count) * sizeof(Info) + m_table.size() * sizeof(std::uint32_t);
}

} // namespace corvane
