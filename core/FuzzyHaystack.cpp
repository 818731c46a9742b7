#include "FuzzyHaystack.h"

#include "TextFolding.h"

#include <QVarLengthArray>

#include <algorithm>
#include <new>

namespace corvane {
namespace {

/** @brief A word while the index is built. */
struct Candidate {
    std::uint64_t hash;
    std::uint32_t bits;
    std::uint32_t length;
    qsizetype field;
    qsizetype offset;
};

} // namespace

FuzzyHaystack::FuzzyHaystack(const QStringList &fields)
{
    QVarLengthArray<QStringView, 8> views(fields.begin(), fields.end());
    build(std::span<const QStringView>(views.constData(), std::size_t(views.size())), &fields);
}

FuzzyHaystack::FuzzyHaystack(std::span<const QStringView> fields) { build(fields, nullptr); }

void FuzzyHaystack::build(std::span<const QStringView> fields, const QStringList *kept)
{
    // Scratch kept per thread, so building many indexes in a row allocates only their blocks,
    // which then lie one after another in memory, in the order a search reads them.
    thread_local std::vector<Candidate> candidates;
    thread_local FuzzyWordIndex::Builder words;
    candidates.clear();
    words.clear();
    bool complete = true;
    thread_local std::vector<char16_t> folded;
    for (qsizetype f = 0; f < qsizetype(fields.size()); ++f) {
        const QStringView text = fields[std::size_t(f)];
        folded.resize(std::size_t(text.size()));
        qsizetype wordStart = -1;
        std::uint32_t bits = 0;
        std::uint64_t hash = 0;
        for (qsizetype i = 0; i <= text.size(); ++i) {
            const bool inWord = i < text.size() && TextFolding::isWordCharAt(text, i);
            if (i < text.size()) {
                folded[std::size_t(i)] = TextFolding::fold(text[i].unicode());
                if (inWord) {
                    if (wordStart < 0) {
                        wordStart = i;
                        bits = 0;
                        hash = 1469598103934665603ull;
                    }
                    bits |= charBit(folded[std::size_t(i)]);
                    hash = (hash ^ folded[std::size_t(i)]) * 1099511628211ull;
                }
            }
            if (!inWord && wordStart >= 0) {
                const qsizetype length = i - wordStart;
                if (length >= minWordLength && length <= maxWordLength)
                    candidates.push_back({hash, bits, std::uint32_t(length), f, wordStart});
                else if (length > maxWordLength)
                    complete = false;
                wordStart = -1;
            }
        }
        m_grams.add(folded.data(), qsizetype(folded.size()));
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate &a, const Candidate &b) {
        return a.length != b.length ? a.length < b.length : a.hash < b.hash;
    });
    QVarLengthArray<char16_t, maxWordLength> word;
    std::array<std::uint32_t, lengthBuckets> bucketBits{};
    const Candidate *previous = nullptr;
    for (const Candidate &candidate : candidates) {
        if (previous && previous->hash == candidate.hash && previous->length == candidate.length)
            continue;
        previous = &candidate;
        const QStringView text = fields[std::size_t(candidate.field)].mid(candidate.offset, candidate.length);
        word.resize(text.size());
        for (qsizetype i = 0; i < text.size(); ++i)
            word[i] = TextFolding::fold(text[i].unicode());
        if (!words.add(candidate.bits, QStringView(word.constData(), word.size()))) {
            complete = false;
            break;
        }
        bucketBits[bucket(candidate.length)] |= candidate.bits;
    }
    // Words were left out: the buckets must not rule anything out, the caller reads the text.
    if (!complete)
        bucketBits.fill(~std::uint32_t{0});
    const std::size_t wordsOffset = fieldsOffset + (kept ? sizeof(QStringList) : 0);
    const std::size_t bytes = wordsOffset + words.bytes();
    std::byte *block = static_cast<std::byte *>(::operator new(bytes));
    m_block = new (block) Block;
    m_block->bytes = std::uint32_t(bytes);
    m_bucketBits = bucketBits;
    m_block->layout = words.layout(complete);
    m_block->keepsFields = kept != nullptr;
    if (kept)
        new (block + fieldsOffset) QStringList(*kept);
    words.write(block + wordsOffset);
}

FuzzyHaystack::FuzzyHaystack(FuzzyHaystack &&other) noexcept
    : m_grams(other.m_grams)
    , m_bucketBits(other.m_bucketBits)
    , m_block(std::exchange(other.m_block, nullptr))
{
}

FuzzyHaystack::FuzzyHaystack(const FuzzyHaystack &other) noexcept
    : m_grams(other.m_grams)
    , m_bucketBits(other.m_bucketBits)
    , m_block(other.m_block)
{
    if (m_block)
        m_block->references.fetch_add(1, std::memory_order_relaxed);
}

FuzzyHaystack &FuzzyHaystack::operator=(const FuzzyHaystack &other) noexcept
{
    if (other.m_block)
        other.m_block->references.fetch_add(1, std::memory_order_relaxed);
    release();
    m_grams = other.m_grams;
    m_bucketBits = other.m_bucketBits;
    m_block = other.m_block;
    return *this;
}

FuzzyHaystack &FuzzyHaystack::operator=(FuzzyHaystack &&other) noexcept
{
    if (this != &other) {
        release();
        m_grams = other.m_grams;
        m_bucketBits = other.m_bucketBits;
        m_block = std::exchange(other.m_block, nullptr);
    }
    return *this;
}

void FuzzyHaystack::release() noexcept
{
    if (!m_block || m_block->references.fetch_sub(1, std::memory_order_acq_rel) != 1)
        return;
    std::byte *block = reinterpret_cast<std::byte *>(m_block);
    if (m_block->keepsFields)
        std::launder(reinterpret_cast<QStringList *>(block + fieldsOffset))->~QStringList();
    m_block->~Block();
    ::operator delete(block);
    m_block = nullptr;
}

const FuzzyHaystack::Block &FuzzyHaystack::block() const
{
    static const Block empty;
    return m_block ? *m_block : empty;
}

const std::byte *FuzzyHaystack::wordBlock() const
{
    if (!m_block)
        return nullptr;
    return reinterpret_cast<const std::byte *>(m_block) + fieldsOffset + (m_block->keepsFields ? sizeof(QStringList) : 0);
}

const QStringList &FuzzyHaystack::fields() const
{
    static const QStringList none;
    if (!m_block || !m_block->keepsFields)
        return none;
    return *std::launder(reinterpret_cast<const QStringList *>(reinterpret_cast<const std::byte *>(m_block) + fieldsOffset));
}

void FuzzyHaystack::Grams::add(const char16_t *folded, qsizetype length)
{
    auto set = [](std::array<std::uint64_t, words> &filter, std::uint32_t hash) {
        const std::uint32_t slot = std::uint32_t((std::uint64_t(hash) * words) >> 26);
        filter[slot >> 6] |= std::uint64_t{1} << (slot & 63);
    };
    for (qsizetype i = 1; i < length; ++i) {
        const std::uint32_t pair = folded[i - 1] * 0x9E3779B1u ^ folded[i] * 0x85EBCA77u;
        set(bigrams, pair);
        if (i > 1)
            set(trigrams, (pair ^ folded[i - 2] * 0xC2B2AE3Du) * 0x27D4EB2Fu);
    }
}

bool FuzzyHaystack::mayContain(const Grams &term) const
{
    const Grams &grams = m_grams;
    std::uint64_t missing = 0;
    for (size_t i = 0; i < Grams::words; ++i)
        missing |= (term.bigrams[i] & ~grams.bigrams[i]) | (term.trigrams[i] & ~grams.trigrams[i]);
    return missing == 0;
}

bool FuzzyHaystack::mayHaveCloseWord(std::uint32_t bits, qsizetype minLength, qsizetype maxLength, int limit) const
{
    minLength = std::max(minLength, minWordLength);
    if (minLength > maxLength)
        return !wordsComplete();
    const std::array<std::uint32_t, lengthBuckets> &bucketBits = m_bucketBits;
    // A close word misses at most `limit` of the term's characters, and so does its bucket.
    for (size_t b = bucket(minLength); b <= bucket(maxLength); ++b) {
        if (hasAtMostBits(bits & ~bucketBits[b], limit))
            return true;
    }
    return false;
}

void FuzzyHaystack::prefetchWords() const
{
#if defined(__GNUC__)
    const char *start = reinterpret_cast<const char *>(m_block);
    for (int line = 0; line < 4; ++line)
        __builtin_prefetch(start + 64 * line);
#endif
}

void FuzzyHaystack::prefetchFieldList() const
{
#if defined(__GNUC__)
    // Reads nothing: the list sits right after the block's start when it is kept.
    if (m_block)
        __builtin_prefetch(reinterpret_cast<const char *>(m_block) + fieldsOffset);
#endif
}

void FuzzyHaystack::prefetchFieldTexts(std::span<const QStringView> fields)
{
#if defined(__GNUC__)
    for (QStringView field : fields) {
        const char *text = reinterpret_cast<const char *>(field.data());
        __builtin_prefetch(text);
        __builtin_prefetch(text + 64);
    }
#endif
}

void FuzzyHaystack::prefetchFieldTexts(const QStringList &fields)
{
#if defined(__GNUC__)
    for (const QString &field : fields) {
        const char *text = reinterpret_cast<const char *>(field.constData());
        __builtin_prefetch(text);
        __builtin_prefetch(text + 64);
    }
#endif
}

std::size_t FuzzyHaystack::memoryUsage() const { return sizeof(*this) + (m_block ? m_block->bytes : 0); }

} // namespace corvane
