#include "FuzzyHaystack.h"

#include "FuzzyRunDictionary.h"
#include "FuzzyWordScan.h"
#include "TextFolding.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cstdlib>
#include <cstring>
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
    while (codes.size() % 4 != 0)
        codes.push_back(0);
    // A byte of lengths per group of four, at most four bytes a code, and three to spare, as
    // reading a code loads four bytes.
    QVarLengthArray<unsigned char, 1024> bytes(qsizetype(codes.size() / 4 * 17));
    unsigned char *out = bytes.data();
    for (std::size_t g = 0; g < codes.size(); g += 4) {
        unsigned char &lengths = *out++;
        lengths = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint32_t code = codes[g + std::size_t(i)];
            const unsigned length = code < (1u << 8) ? 1 : code < (1u << 16) ? 2 : code < (1u << 24) ? 3 : 4;
            lengths |= static_cast<unsigned char>((length - 1) << (2 * i));
            for (unsigned b = 0; b < length; ++b)
                *out++ = static_cast<unsigned char>(code >> (8 * b));
        }
    }
    const std::size_t size = std::size_t(out - bytes.data());
    void *memory = std::malloc(sizeof(Block) + size + spareBytes);
    if (!memory)
        throw std::bad_alloc();
    m_block = new (memory) Block;
    m_block->bytes = std::uint32_t(size);
    unsigned char *data = reinterpret_cast<unsigned char *>(m_block + 1);
    std::memcpy(data, bytes.constData(), size);
    std::memset(data + size, 0, spareBytes);
}

FuzzyHaystack::FuzzyHaystack(FuzzyHaystack &&other) noexcept
    : m_block(std::exchange(other.m_block, nullptr))
{
}

FuzzyHaystack::FuzzyHaystack(const FuzzyHaystack &other) noexcept
    : m_block(other.m_block)
{
    if (m_block)
        m_block->references.fetch_add(1, std::memory_order_relaxed);
}

FuzzyHaystack &FuzzyHaystack::operator=(const FuzzyHaystack &other) noexcept
{
    if (other.m_block)
        other.m_block->references.fetch_add(1, std::memory_order_relaxed);
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
    if (!m_block || m_block->references.fetch_sub(1, std::memory_order_acq_rel) != 1)
        return;
    m_block->~Block();
    std::free(m_block);
    m_block = nullptr;
}

std::size_t FuzzyHaystack::memoryUsage() const
{
    if (!m_block)
        return sizeof(*this);
    // As the allocator lays blocks out: a size word each, in 16-byte steps, 32 bytes at least.
    const std::size_t request = sizeof(Block) + m_block->bytes + spareBytes;
    return sizeof(*this) + std::max<std::size_t>(32, (request + sizeof(std::size_t) + 15) & ~std::size_t{15});
}

} // namespace corvane
