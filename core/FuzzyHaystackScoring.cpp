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

namespace corvane::FuzzyMatcher {

using Dictionary = FuzzyRunDictionary;
using Kind = Dictionary::Kind;

namespace {

// A run's byte for a term: a bit for each way the term matches it, and `check` when the term may
// occur across or around the run, so the clip's folded text is rebuilt to look for it. Or-ing the
// bytes of a clip's runs tells its best match, a single operation per run for up to eight terms.
constexpr unsigned char prefixBit = 0x80;
constexpr unsigned char insideBit = 0x40;
constexpr unsigned char exactBits = prefixBit | insideBit;
constexpr unsigned char check = 0x01;
constexpr int maxDistance = 2; // typoLimit's largest
unsigned char typoBit(int distance) { return static_cast<unsigned char>(0x20 >> distance); }

/** Padding after the rows, so rows of up to 16 terms load as two words. */
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
        return distance <= limit ? typoBit(distance) : 0;
    }

    /** The byte of a needle hit at `offset` into a run of `kind` (offset 0 is its start). */
    unsigned char hit(Kind kind, std::size_t offset) const
    {
        switch (use) {
        case Use::score:
            if (kind == Kind::word)
                return offset == 0 ? prefixBit : insideBit;
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
        if (!(byte & exactBits))
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
            if (typos && run.kind == Kind::word && !(byte & exactBits))
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

/** Or-s the rows of the runs looked up ahead, eight terms a word; runs past them are left out. */
template<std::size_t Words>
void mergeRows(const FuzzyHaystack &index, const unsigned char *rows, std::uint32_t known, std::size_t terms,
               unsigned char *merged, bool &spaces, bool &unknown)
{
    std::uint64_t any[Words] = {};
    std::uint32_t spaceBits = 0;
    std::uint32_t later = 0;
    auto add = [&](std::uint32_t code) {
        // Without branches: a zero (a field's end) reads row 0, the space's, which matches no
        // term, and at most makes the space count as present.
        const std::uint32_t id = (code - 1) >> 1;
        spaceBits |= code - 1;
        later |= std::uint32_t(id >= known) & std::uint32_t(code != 0);
        const unsigned char *r = rows + (id < known ? std::size_t(id) * terms : 0);
        for (std::size_t w = 0; w < Words; ++w) {
            std::uint64_t bytes; // past the terms: other runs' bytes, never read back
            std::memcpy(&bytes, r + 8 * w, sizeof bytes);
            any[w] |= bytes;
        }
    };
    index.forEachCode(add);
    std::memcpy(merged, any, sizeof any);
    spaces = (spaceBits & 1) != 0;
    unknown = later != 0;
}

} // namespace

std::optional<double> IndexedQuery::score(const FuzzyHaystack &index) const
{
    const std::size_t terms = m_plans.size();
    if (terms == 0)
        return 0.0;
    QVarLengthArray<unsigned char, rowPadding> merged(qsizetype(std::max(terms, rowPadding)));
    QVarLengthArray<unsigned char, 2 * rowPadding> scratch(qsizetype(terms + rowPadding));
    bool spaces = false;
    bool unknown = false;
    if (terms <= 8) {
        mergeRows<1>(index, m_rows.data(), m_known, terms, merged.data(), spaces, unknown);
    } else if (terms <= 16) {
        mergeRows<2>(index, m_rows.data(), m_known, terms, merged.data(), spaces, unknown);
    } else {
        std::fill(merged.begin(), merged.end(), 0);
        forEachRun(index, [&](std::uint32_t id) {
            const unsigned char *r = row(id, scratch.data());
            for (std::size_t k = 0; k < terms; ++k)
                merged[qsizetype(k)] |= r[k];
        });
        return finish(index, merged.constData());
    }
    auto merge = [&](const unsigned char *r) {
        for (std::size_t k = 0; k < terms; ++k)
            merged[qsizetype(k)] |= r[k];
    };
    if (spaces)
        merge(row(Dictionary::spaceId, scratch.data()));
    if (unknown) {
        // Runs added since the lookup, worked out one by one.
        forEachRun(index, [&](std::uint32_t id) {
            if (id >= m_known)
                merge(row(id, scratch.data()));
        });
    }
    return finish(index, merged.constData());
}

std::optional<double> IndexedQuery::finish(const FuzzyHaystack &index, const unsigned char *merged) const
{
    // Exact scores are summed first, then typo scores, each in term order, as on plain text.
    double total = 0;
    QVarLengthArray<int, 8> distances;
    for (std::size_t k = 0; k < m_plans.size(); ++k) {
        const unsigned char bits = merged[k];
        double exact = 0;
        if (bits & check)
            exact = rebuiltExactScore(index, k);
        else if (bits & exactBits)
            exact = (bits & prefixBit) ? wordStartScore : substringScore;
        if (exact > 0) {
            total += exact;
            continue;
        }
        int distance = 0;
        while (distance <= maxDistance && !(bits & typoBit(distance)))
            ++distance;
        if (distance > maxDistance)
            return std::nullopt;
        distances.append(distance);
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
