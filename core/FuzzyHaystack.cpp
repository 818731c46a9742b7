#include "FuzzyHaystack.h"

#include "FuzzyRunDictionary.h"
#include "FuzzyWordScan.h"
#include "HaystackArena.h"
#include "TextFolding.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <new>
#include <utility>
#include <vector>


namespace corvane {

using Dictionary = FuzzyRunDictionary;

FuzzyHaystack::FuzzyHaystack(std::span<const QStringView> fields) { build(fields); }

FuzzyHaystack::FuzzyHaystack(const QStringList &fields)
{
    const QVarLengthArray<QStringView, 8> views(fields.begin(), fields.end());
    build(std::span<const QStringView>(views.constData(), std::size_t(views.size())));
}

namespace {

/** Splits the fields into folded runs: their encoded units in `text`, and where each field's runs end. */
void splitRuns(std::span<const QStringView> fields, std::vector<unsigned char> &text, std::vector<Dictionary::Pending> &runs,
               std::vector<std::size_t> &fieldEnds)
{
    for (const QStringView field : fields) {
        if (field.isEmpty())
            continue;
        const qsizetype n = field.size();
        text.reserve(text.size() + std::size_t(n) * 3);
        qsizetype i = 0;
        while (i < n) {
            const bool word = TextFolding::isWordCharAt(field, i);
            Dictionary::Pending run;
            run.offset = std::uint32_t(text.size());
            run.kind = word ? Dictionary::Kind::word : Dictionary::Kind::gap;
            for (; i < n && run.units < Dictionary::maxRunUnits && TextFolding::isWordCharAt(field, i) == word; ++i) {
                const char16_t unit = field[i].unicode();
                const char16_t folded = TextFolding::fold(unit);
                if (!word && unit >= 0x80 && !QChar::isSurrogate(unit) && QChar::isLetterOrNumber(char32_t(folded)))
                    run.kind = Dictionary::Kind::foldsToWord;
                unsigned char encoded[3];
                text.insert(text.end(), encoded, encoded + Dictionary::encode(folded, encoded));
                run.bits |= FuzzyWordScan::charBit(folded);
                ++run.units;
            }
            run.bytes = std::uint32_t(text.size()) - run.offset;
            run.hash = Dictionary::hash(text.data() + run.offset, run.bytes, run.kind);
            runs.push_back(run);
        }
        fieldEnds.push_back(runs.size());
    }
}

void putLittleEndian(unsigned char *&out, std::uint32_t value, int bytes)
{
    for (int b = 0; b < bytes; ++b)
        *out++ = static_cast<unsigned char>(value >> (8 * b));
}

} // namespace

namespace FuzzyHaystackCodes {

const unsigned char *readGroup(const unsigned char *p, const unsigned char *end, std::uint32_t *codes, int &count)
{
    const unsigned lengths = *p++;
    count = 0;
    for (int i = 0; i < 8 && p < end; ++i) {
        if (!(lengths >> i & 1)) {
            codes[count++] = *p++;
            continue;
        }
        std::uint32_t code = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8;
        p += 2;
        if (code == escape) {
            code = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
            p += 4;
        }
        codes[count++] = code;
    }
    return p;
}

} // namespace FuzzyHaystackCodes

void FuzzyHaystack::build(std::span<const QStringView> fields)
{
    // Scratch kept per thread: building many indexes in a row allocates only their blocks.
    thread_local std::vector<unsigned char> text;
    thread_local std::vector<Dictionary::Pending> runs;
    thread_local std::vector<std::uint32_t> ids;
    thread_local std::vector<std::size_t> fieldEnds;
    text.clear();
    runs.clear();
    fieldEnds.clear();
    splitRuns(fields, text, runs, fieldEnds);
    ids.resize(runs.size());
    Dictionary::shared().intern(runs, text.data(), ids.data());

    thread_local std::vector<std::uint32_t> codes;
    codes.clear();
    std::size_t r = 0;
    for (std::size_t f = 0; f < fieldEnds.size(); ++f) {
        if (f > 0)
            codes.push_back(0);
        while (r < fieldEnds[f]) {
            const bool spaceFollows
                = runs[r].kind == Dictionary::Kind::word && r + 1 < fieldEnds[f] && ids[r + 1] == Dictionary::spaceId;
            codes.push_back((ids[r] * 2 + std::uint32_t(spaceFollows)) + 1);
            r += 1 + std::size_t(spaceFollows);
        }
    }
    // A byte of lengths per group of eight, and at most six bytes a code.
    QVarLengthArray<unsigned char, 1024> bytes(qsizetype(codes.size() / 8 + 1 + codes.size() * 6));
    unsigned char *out = bytes.data();
    for (std::size_t g = 0; g < codes.size(); g += 8) {
        unsigned char &lengths = *out++;
        lengths = 0;
        for (std::size_t i = 0; i < 8 && g + i < codes.size(); ++i) {
            const std::uint32_t code = codes[g + i];
            if (code < 0x100) {
                *out++ = static_cast<unsigned char>(code);
                continue;
            }
            lengths |= static_cast<unsigned char>(1u << i);
            if (code < FuzzyHaystackCodes::escape) {
                putLittleEndian(out, code, 2);
            } else {
                putLittleEndian(out, FuzzyHaystackCodes::escape, 2);
                putLittleEndian(out, code, 4);
            }
        }
    }
    const std::size_t size = std::size_t(out - bytes.data());
    const bool large = size >= Block::large;
    m_block = new (HaystackArena::shared().allocate(sizeof(Block) + (large ? 4 : 0) + size)) Block;
    unsigned char *data = reinterpret_cast<unsigned char *>(m_block + 1);
    if (large) {
        m_block->bytes = Block::large;
        const std::uint32_t bytes32 = std::uint32_t(size);
        std::memcpy(data, &bytes32, sizeof bytes32);
        data += sizeof bytes32;
    } else {
        m_block->bytes = std::uint16_t(size);
    }
    std::memcpy(data, bytes.constData(), size);
}

void FuzzyHaystack::rankDictionary(std::span<const QStringList> sample)
{
    Dictionary &dictionary = Dictionary::shared();
    if (dictionary.size() >= oneByteIds)
        return;
    std::vector<unsigned char> text;
    std::vector<Dictionary::Pending> runs;
    std::vector<std::size_t> fieldEnds;
    for (const QStringList &fields : sample) {
        const QVarLengthArray<QStringView, 8> views(fields.begin(), fields.end());
        fieldEnds.clear();
        splitRuns(std::span<const QStringView>(views.constData(), std::size_t(views.size())), text, runs, fieldEnds);
    }
    // Counted by text and kind; the first of each stands for the rest.
    struct Count {
        std::size_t first;
        std::size_t count;
    };
    std::unordered_map<std::string_view, Count> counts;
    std::string keys; // kind byte + text of each run, so equal runs share a key
    keys.reserve(text.size() + runs.size());
    std::vector<std::size_t> keyStarts;
    keyStarts.reserve(runs.size() + 1);
    for (const Dictionary::Pending &run : runs) {
        keyStarts.push_back(keys.size());
        keys.push_back(char(run.kind));
        keys.append(reinterpret_cast<const char *>(text.data() + run.offset), run.bytes);
    }
    keyStarts.push_back(keys.size());
    for (std::size_t r = 0; r < runs.size(); ++r) {
        // The single space has its id, and mostly shares a word's code anyway.
        if (runs[r].kind == Dictionary::Kind::gap && runs[r].bytes == 1 && text[runs[r].offset] == ' ')
            continue;
        const std::string_view key(keys.data() + keyStarts[r], keyStarts[r + 1] - keyStarts[r]);
        auto [it, added] = counts.try_emplace(key, Count{r, 0});
        ++it->second.count;
    }
    std::vector<Count> ranked;
    ranked.reserve(counts.size());
    for (const auto &[key, count] : counts)
        ranked.push_back(count);
    const std::size_t wanted = std::min<std::size_t>(ranked.size(), oneByteIds - dictionary.size());
    // Ties go to the run seen first, so equal samples give equal ids.
    std::partial_sort(ranked.begin(), ranked.begin() + std::ptrdiff_t(wanted), ranked.end(), [](const Count &a, const Count &b) {
        return a.count != b.count ? a.count > b.count : a.first < b.first;
    });
    std::vector<Dictionary::Pending> top;
    for (std::size_t i = 0; i < wanted; ++i)
        top.push_back(runs[ranked[i].first]);
    std::vector<std::uint32_t> ids(top.size());
    dictionary.intern(top, text.data(), ids.data());
}

FuzzyHaystack::FuzzyHaystack(FuzzyHaystack &&other) noexcept
    : m_block(std::exchange(other.m_block, nullptr))
{
}

namespace {

template<typename Count> void addReference(Count &references)
{
    auto count = references.load(std::memory_order_relaxed);
    while (count != std::numeric_limits<typename Count::value_type>::max()
           && !references.compare_exchange_weak(count, count + 1, std::memory_order_relaxed)) {
    }
}

} // namespace

FuzzyHaystack::FuzzyHaystack(const FuzzyHaystack &other) noexcept
    : m_block(other.m_block)
{
    if (m_block)
        addReference(m_block->references);
}

FuzzyHaystack &FuzzyHaystack::operator=(const FuzzyHaystack &other) noexcept
{
    if (other.m_block)
        addReference(other.m_block->references);
    release();
    m_block = other.m_block;
    return *this;
}

FuzzyHaystack &FuzzyHaystack::operator=(FuzzyHaystack &&other) noexcept
{
    if (this != &other) {
        release();
        m_block = std::exchange(other.m_block, nullptr);
    }
    return *this;
}

void FuzzyHaystack::release() noexcept
{
    if (!m_block)
        return;
    std::uint16_t count = m_block->references.load(std::memory_order_relaxed);
    do {
        if (count == Block::shared) {
            m_block = nullptr;
            return;
        }
    } while (!m_block->references.compare_exchange_weak(count, std::uint16_t(count - 1), std::memory_order_acq_rel));
    if (count == 1) {
        const std::size_t bytes = blockBytes();
        m_block->~Block();
        HaystackArena::shared().deallocate(m_block, bytes);
    }
    m_block = nullptr;
}

std::size_t FuzzyHaystack::blockBytes() const
{
    const std::size_t size = codes().size();
    return sizeof(Block) + (m_block->bytes == Block::large ? 4 : 0) + size;
}

std::size_t FuzzyHaystack::memoryUsage() const
{
    return sizeof(*this) + (m_block ? HaystackArena::footprint(blockBytes()) : 0);
}

} // namespace corvane
