#include "FuzzyWordIndex.h"

#include <algorithm>
#include <cstring>

namespace corvane {
namespace {

qsizetype paddedTo4(qsizetype bytes) { return (bytes + 3) / 4 * 4; }

qsizetype groupBytes(qsizetype length, qsizetype count, bool header)
{
    return (header ? 4 : 0) + paddedTo4((4 + 2 * length) * count);
}

} // namespace

bool FuzzyWordIndex::Builder::add(std::uint32_t bits, QStringView folded)
{
    const qsizetype length = folded.size();
    const bool newGroup = m_groups.empty() || m_groups.back().length != length;
    const qsizetype count = newGroup ? 0 : qsizetype(m_groups.back().bits.size());
    const bool header = length > maxRegionLength;
    const qsizetype bytes = m_bytes - (newGroup ? 0 : groupBytes(length, count, header)) + groupBytes(length, count + 1, header);
    if (bytes > maxBytes)
        return false;
    m_bytes = bytes;
    if (newGroup)
        m_groups.push_back({length, {}, {}});
    m_groups.back().bits.push_back(bits);
    m_groups.back().text.insert(m_groups.back().text.end(), folded.utf16(), folded.utf16() + length);
    return true;
}

FuzzyWordIndex FuzzyWordIndex::Builder::finish(bool complete) const
{
    FuzzyWordIndex index;
    index.m_complete = complete;
    if (m_bytes == 0)
        return index;
    index.m_block = std::make_unique<std::uint32_t[]>(std::size_t(m_bytes / 4));
    char *block = reinterpret_cast<char *>(index.m_block.get());
    qsizetype at = 0;
    auto group = m_groups.begin();
    for (qsizetype length = minLength; length <= maxRegionLength; ++length) {
        index.m_offsets[region(length)] = std::uint16_t(at);
        if (group == m_groups.end() || group->length != length)
            continue;
        std::memcpy(block + at, group->bits.data(), group->bits.size() * 4);
        std::memcpy(block + at + group->bits.size() * 4, group->text.data(), group->text.size() * 2);
        at += groupBytes(length, qsizetype(group->bits.size()), false);
        ++group;
    }
    index.m_offsets[regions] = std::uint16_t(at);
    for (; group != m_groups.end(); ++group) {
        const auto header = std::uint32_t(group->length) | std::uint32_t(group->bits.size()) << 16;
        std::memcpy(block + at, &header, 4);
        std::memcpy(block + at + 4, group->bits.data(), group->bits.size() * 4);
        std::memcpy(block + at + 4 + group->bits.size() * 4, group->text.data(), group->text.size() * 2);
        at += groupBytes(group->length, qsizetype(group->bits.size()), true);
    }
    index.m_offsets[regions + 1] = std::uint16_t(at);
    return index;
}

FuzzyWordIndex::FuzzyWordIndex(const FuzzyWordIndex &other)
{
    *this = other;
}

FuzzyWordIndex &FuzzyWordIndex::operator=(const FuzzyWordIndex &other)
{
    if (this == &other)
        return *this;
    m_offsets = other.m_offsets;
    m_complete = other.m_complete;
    m_block.reset();
    if (other.m_block) {
        const std::size_t units = m_offsets.back() / 4;
        m_block = std::make_unique<std::uint32_t[]>(units);
        std::copy(other.m_block.get(), other.m_block.get() + units, m_block.get());
    }
    return *this;
}

void FuzzyWordIndex::prefetch(qsizetype minLength, qsizetype maxLength) const
{
#if defined(__GNUC__)
    if (!m_block || maxLength < FuzzyWordIndex::minLength)
        return;
    const std::size_t first = m_offsets[region(std::clamp(minLength, FuzzyWordIndex::minLength, maxRegionLength + 1))];
    const std::size_t end = m_offsets[maxLength > maxRegionLength ? regions + 1 : region(maxLength + 1)];
    const char *block = reinterpret_cast<const char *>(m_block.get());
    // A few lines at most: beyond that the loads overlap the scoring of the clips in between.
    for (std::size_t at = first & ~std::size_t{63}; at < std::min(end, first + 512); at += 64)
        __builtin_prefetch(block + at);
#endif
}

} // namespace corvane
