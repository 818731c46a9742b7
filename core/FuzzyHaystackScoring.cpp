// Scoring against indexes: each term is looked up once in the shared run dictionary, giving a
// byte per run (how well the term matches it); a clip's score is then read off its run ids.

#include "FuzzyMatcher.h"
#include "FuzzyRunDictionary.h"
#include "FuzzyTermScore.h"
#include "FuzzyWordScan.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cstring>
#include <string.h>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace corvane::FuzzyMatcher {

using Dictionary = FuzzyRunDictionary;
using Kind = Dictionary::Kind;

namespace {

// A run's byte for a term: the best match level above the lowest bit, and that bit (`check`)
// when the term may occur across or around the run, so the clip's folded text is rebuilt to look
// for it. The largest byte of a clip's runs then holds its best level.
constexpr unsigned char prefixLevel = 14;
constexpr unsigned char insideLevel = 12;
constexpr unsigned char check = 1;
constexpr unsigned char levelMask = 0xFE;
unsigned char typoLevel(int distance) { return static_cast<unsigned char>((5 - distance) << 1); }
int levelDistance(unsigned char level) { return 5 - (level >> 1); }

/** Padding after the rows, so rows of up to 16 terms load as one vector. */
constexpr std::size_t rowPadding = 16;

std::string encode(QStringView folded)
{
    std::string bytes;
    for (const QChar unit : folded) {
        unsigned char encoded[3];
        bytes.append(reinterpret_cast<const char *>(encoded), std::size_t(Dictionary::encode(unit.unicode(), encoded)));
    }
    return bytes;
}

} // namespace

/**
 * How a term is looked for. A term of word characters only can occur only inside a word run,
 * unless a gap holds a unit folding to a word character; its exact score is read per run. Any
 * other term may span runs: the runs that must hold part of it are marked to check, and a clip
 * with one is scored from its rebuilt folded text.
 */
struct IndexedQuery::Plan {
    enum class Use {
        score,     ///< needle is the term: prefix or inside a word run
        checkWord, ///< needle is the term's longest stretch of word characters: word runs holding it
        checkAny   ///< needle is the term's first unit: any run holding it
    };
    const PreparedTerm *term;
    Use use;
    std::string needle;
    bool checkFoldsToWord;

    static Plan make(const PreparedTerm &term)
    {
        const QStringView folded = term.folded;
        qsizetype bestStart = 0;
        qsizetype bestLength = 0;
        for (qsizetype i = 0; i < folded.size();) {
            if (!TextFolding::isWordCharAt(folded, i)) {
                ++i;
                continue;
            }
            const qsizetype start = i;
            while (i < folded.size() && TextFolding::isWordCharAt(folded, i))
                ++i;
            if (i - start > bestLength)
                bestStart = start, bestLength = i - start;
        }
        if (bestLength == folded.size())
            return {&term, Use::score, encode(folded), true};
        if (bestLength > 0)
            return {&term, Use::checkWord, encode(folded.mid(bestStart, bestLength)), true};
        return {&term, Use::checkAny, encode(folded.first(1)), false};
    }

    /** The typo level of a word run, or 0. */
    unsigned char typo(const Dictionary::Run &run) const
    {
        const PreparedTerm &t = *term;
        const int limit = t.typoLimit;
        if (limit == 0 || run.kind != Kind::word || std::abs(qsizetype(run.units) - t.folded.size()) > limit
            || !FuzzyWordScan::mayBeClose(t, run.bits, limit))
            return 0;
        QVarLengthArray<char16_t, 64> word(run.units);
        Dictionary::decode(run, word.data());
        const QStringView view(word.constData(), word.size());
        const int distance = t.pattern.isValid() ? t.pattern.distance(view) : typoDistance(t.folded, view, limit);
        return distance <= limit ? typoLevel(distance) : 0;
    }

    /** The byte of a needle hit at `offset` into a run of `kind` (offset 0 is its start). */
    unsigned char hit(Kind kind, std::size_t offset) const
    {
        switch (use) {
        case Use::score:
            if (kind == Kind::word)
                return offset == 0 ? prefixLevel : insideLevel;
            return 0; // a gap holds it only when it folds to word characters: checked anyway
        case Use::checkWord:
            return kind == Kind::word ? check : 0;
        case Use::checkAny:
            return check;
        }
        return 0;
    }

    /** The whole byte of one run, worked out on its own. */
    unsigned char evaluate(const Dictionary::Run &run) const
    {
        unsigned char byte = checkFoldsToWord && run.kind == Kind::foldsToWord ? check : 0;
        const std::size_t length = Dictionary::byteLength(run.text);
        if (const void *at = memmem(run.text, length, needle.data(), needle.size()))
            byte |= hit(run.kind, std::size_t(static_cast<const unsigned char *>(at) - run.text));
        if ((byte & levelMask) < insideLevel)
            byte |= typo(run);
        return byte;
    }
};

IndexedQuery::IndexedQuery(const PreparedQuery &query)
    : IndexedQuery(query, true)
{
}

IndexedQuery::IndexedQuery(const PreparedQuery &query, bool lookUpAhead)
    : m_query(query)
{
    m_plans.reserve(query.terms.size());
    for (const PreparedTerm &term : query.terms)
        m_plans.push_back(Plan::make(term));
    if (lookUpAhead && !m_plans.empty())
        scanDictionary();
    else
        m_rows.assign(rowPadding, 0); // what scoring merges in place of runs it works out apart
}

IndexedQuery::~IndexedQuery() = default;

void IndexedQuery::scanDictionary()
{
    const Dictionary &dictionary = Dictionary::shared();
    m_known = dictionary.size();
    const std::size_t terms = m_plans.size();
    m_rows.assign(std::size_t(m_known) * terms + rowPadding, 0);
    for (std::size_t k = 0; k < terms; ++k) {
        const Plan &plan = m_plans[k];
        // The needle over all stored text at once; one hit per run is enough, as the first one
        // tells whether it starts the run.
        dictionary.forEachStretch(m_known, [&](std::uint32_t first, std::uint32_t end, const unsigned char *text, std::size_t bytes) {
            std::uint32_t id = first;
            std::size_t from = 0;
            while (from < bytes) {
                const void *found = memmem(text + from, bytes - from, plan.needle.data(), plan.needle.size());
                if (!found)
                    break;
                const std::size_t at = std::size_t(static_cast<const unsigned char *>(found) - text);
                while (id + 1 < end && dictionary.offsetInStretch(id + 1) <= at)
                    ++id;
                const Dictionary::Run run = dictionary.run(id);
                m_rows[std::size_t(id) * terms + k] |= plan.hit(run.kind, at - dictionary.offsetInStretch(id));
                from = id + 1 < end ? dictionary.offsetInStretch(id + 1) : bytes;
            }
        });
        // Typo levels and gaps that fold to word characters, run by run.
        const bool typos = plan.term->typoLimit > 0;
        if (!typos && !plan.checkFoldsToWord)
            continue;
        for (std::uint32_t id = 0; id < m_known; ++id) {
            const Dictionary::Run run = dictionary.run(id);
            unsigned char &byte = m_rows[std::size_t(id) * terms + k];
            if (run.kind == Kind::foldsToWord && plan.checkFoldsToWord)
                byte |= check;
            if (typos && run.kind == Kind::word && (byte & levelMask) < insideLevel)
                byte |= plan.typo(run);
        }
    }
}

const unsigned char *IndexedQuery::row(std::uint32_t id, unsigned char *scratch) const
{
    if (id < m_known)
        return m_rows.data() + std::size_t(id) * m_plans.size();
    // A run added after the lookup: the index that holds it was built since, so it is stored.
    const Dictionary::Run run = Dictionary::shared().run(id);
    for (std::size_t k = 0; k < m_plans.size(); ++k)
        scratch[k] = m_plans[k].evaluate(run);
    return scratch;
}

double IndexedQuery::rebuiltExactScore(const FuzzyHaystack &index, std::size_t term) const
{
    // The folded text of each field, and where words start (known from the runs, as folding
    // may turn a gap's unit into a letter).
    const Dictionary &dictionary = Dictionary::shared();
    const QStringView needle = m_query.terms[term].folded;
    QVarLengthArray<char16_t, 1024> text;
    QVarLengthArray<bool, 1024> startsWord;
    bool lastIsWord = false;
    double best = 0;
    auto search = [&] {
        const QStringView field(text.constData(), text.size());
        for (qsizetype at = field.indexOf(needle); at >= 0; at = field.indexOf(needle, at + 1)) {
            if (startsWord[at])
                return wordStartScore;
            best = substringScore;
        }
        return best;
    };
    auto append = [&](std::uint32_t id) {
        const Dictionary::Run run = dictionary.run(id);
        const qsizetype at = text.size();
        text.resize(at + qsizetype(run.units));
        Dictionary::decode(run, text.data() + at);
        const bool word = run.kind == Kind::word;
        startsWord.resize(text.size());
        std::fill(startsWord.begin() + at, startsWord.end(), !word);
        startsWord[at] = at == 0 || !lastIsWord;
        lastIsWord = word;
    };
    bool found = false;
    index.forEachCode([&](std::uint32_t code) {
        if (found)
            return;
        if (code == 0) {
            // Also the filling of the last group: an empty field finds nothing.
            found = search() == wordStartScore;
            text.clear();
            startsWord.clear();
            lastIsWord = false;
            return;
        }
        append((code - 1) >> 1);
        if ((code - 1) & 1)
            append(Dictionary::spaceId);
    });
    if (found)
        return wordStartScore;
    return text.isEmpty() ? best : search();
}

namespace {

/** Calls visit(id) for each run of an index, and once for the space when a word is followed by one. */
template<typename Visit> inline void forEachRun(const FuzzyHaystack &index, Visit &&visit)
{
    std::uint32_t spaces = 0;
    index.forEachCode([&](std::uint32_t code) {
        if (code == 0)
            return;
        spaces |= code - 1;
        visit((code - 1) >> 1);
    });
    if (spaces & 1)
        visit(Dictionary::spaceId);
}

#if defined(__SSE2__)
/** @brief The rows of an index's runs merged: the largest bytes, and all bytes or-ed. */
struct Merged {
    __m128i most;
    __m128i any;
    bool spaces;
    bool unknown; ///< runs past the lookup were left out
};

/** Merges the rows of up to 16 terms of the runs looked up ahead; a plain loop, so all stays in registers. */
template<bool Narrow>
Merged mergeRows(std::span<const unsigned char> codes, const unsigned char *rows, std::uint32_t known, std::size_t terms)
{
    __m128i most = _mm_setzero_si128();
    __m128i any = _mm_setzero_si128();
    std::uint32_t spaces = 0;
    std::uint32_t unknown = 0;
    const unsigned char *p = codes.data();
    const unsigned char *end = p + codes.size();
    while (p < end) {
        std::uint32_t group[4];
        p = FuzzyHaystack::readGroup(p, group);
        for (const std::uint32_t code : group) {
            if (code == 0)
                continue;
            spaces |= code - 1;
            const std::uint32_t id = (code - 1) >> 1;
            unknown |= std::uint32_t(id >= known);
            const unsigned char *r = id < known ? rows + std::size_t(id) * terms : rows;
            // Bytes past the terms are other runs' and are not read back.
            const __m128i bytes = Narrow ? _mm_loadl_epi64(reinterpret_cast<const __m128i *>(r))
                                         : _mm_loadu_si128(reinterpret_cast<const __m128i *>(r));
            most = _mm_max_epu8(most, bytes);
            any = _mm_or_si128(any, bytes);
        }
    }
    return {most, any, (spaces & 1) != 0, unknown != 0};
}
#endif

} // namespace

std::optional<double> IndexedQuery::score(const FuzzyHaystack &index) const
{
    const std::size_t terms = m_plans.size();
    if (terms == 0)
        return 0.0;
    // Per term the largest byte of the index's runs, and all their bytes or-ed for `check`.
    QVarLengthArray<unsigned char, rowPadding> best(qsizetype(std::max(terms, rowPadding)));
    QVarLengthArray<unsigned char, rowPadding> marks(qsizetype(std::max(terms, rowPadding)));
    QVarLengthArray<unsigned char, 2 * rowPadding> scratch(qsizetype(terms + rowPadding));
    const unsigned char *rows = m_rows.data();
    const std::uint32_t known = m_known;
    auto rowOf = [&](std::uint32_t id) {
        return id < known ? rows + std::size_t(id) * terms : row(id, scratch.data());
    };
#if defined(__SSE2__)
    if (terms <= rowPadding) {
        Merged merged = terms <= 8 ? mergeRows<true>(index.codes(), rows, known, terms)
                                   : mergeRows<false>(index.codes(), rows, known, terms);
        auto merge = [&](const unsigned char *r) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(r));
            merged.most = _mm_max_epu8(merged.most, bytes);
            merged.any = _mm_or_si128(merged.any, bytes);
        };
        if (merged.spaces)
            merge(rowOf(Dictionary::spaceId));
        if (merged.unknown) {
            // Runs added since the lookup. What was merged in their place is row 0 (the space's,
            // whose levels are all 0) or zeros, so it changed nothing but maybe a needless check.
            forEachRun(index, [&](std::uint32_t id) {
                if (id >= known)
                    merge(row(id, scratch.data()));
            });
        }
        _mm_storeu_si128(reinterpret_cast<__m128i *>(best.data()), merged.most);
        _mm_storeu_si128(reinterpret_cast<__m128i *>(marks.data()), merged.any);
        return finish(index, best.constData(), marks.constData());
    }
#endif
    std::fill(best.begin(), best.end(), 0);
    std::fill(marks.begin(), marks.end(), 0);
    forEachRun(index, [&](std::uint32_t id) {
        const unsigned char *r = rowOf(id);
        for (std::size_t k = 0; k < terms; ++k) {
            best[qsizetype(k)] = std::max(best[qsizetype(k)], r[k]);
            marks[qsizetype(k)] |= r[k];
        }
    });
    return finish(index, best.constData(), marks.constData());
}

std::optional<double> IndexedQuery::finish(const FuzzyHaystack &index, const unsigned char *best, const unsigned char *marks) const
{
    // Exact scores are summed first, then typo scores, each in term order, as on plain text.
    double total = 0;
    QVarLengthArray<int, 8> distances;
    for (std::size_t k = 0; k < m_plans.size(); ++k) {
        const unsigned char level = best[k] & levelMask;
        double exact = 0;
        if (marks[k] & check)
            exact = rebuiltExactScore(index, k);
        else if (level >= insideLevel)
            exact = level == prefixLevel ? wordStartScore : substringScore;
        if (exact > 0)
            total += exact;
        else if (level > 0 && level < insideLevel)
            distances.append(levelDistance(level));
        else
            return std::nullopt;
    }
    for (const int distance : distances)
        total += typoScore(distance);
    return total;
}

std::optional<double> score(const PreparedQuery &query, const FuzzyHaystack &index)
{
    return IndexedQuery(query, false).score(index);
}

void scoreBatch(const IndexedQuery &query, std::span<const FuzzyHaystack *const> indexes, std::span<std::optional<double>> scores)
{
    // Each index is a pointer away from the list; loading a few ahead hides that.
    constexpr std::size_t ahead = 8;
    for (std::size_t i = 0; i < std::min(ahead, indexes.size()); ++i)
        indexes[i]->prefetch();
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        if (i + ahead < indexes.size())
            indexes[i + ahead]->prefetch();
        scores[i] = query.score(*indexes[i]);
    }
}

std::vector<std::optional<double>> scoreAll(const PreparedQuery &query, std::span<const FuzzyHaystack> haystacks)
{
    const IndexedQuery indexed(query);
    std::vector<const FuzzyHaystack *> indexes;
    indexes.reserve(haystacks.size());
    for (const FuzzyHaystack &haystack : haystacks)
        indexes.push_back(&haystack);
    std::vector<std::optional<double>> scores(haystacks.size());
    scoreBatch(indexed, indexes, scores);
    return scores;
}

} // namespace corvane::FuzzyMatcher
