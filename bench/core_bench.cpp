#include "ContentDetector.h"
#include "FuzzyMatcher.h"
#include "SearchQuery.h"
#include "SyntheticClips.h"

#include <benchmark/benchmark.h>

#include <QTimeZone>

namespace {

using namespace corvane;

const QList<QString> &corpus()
{
    static const QList<QString> clips = bench::syntheticClips(100'000);
    return clips;
}

// Built once per clip when the history loads, as the store keeps it next to each clip.
const std::vector<FuzzyHaystack> &haystacks()
{
    static const std::vector<FuzzyHaystack> prepared = [] {
        std::vector<FuzzyHaystack> all;
        all.reserve(size_t(corpus().size()));
        // As a store's first load does.
        std::vector<QStringList> sample;
        for (qsizetype i = 0; i < std::min<qsizetype>(1000, corpus().size()); ++i)
            sample.push_back(QStringList{corpus()[i]});
        FuzzyHaystack::rankDictionary(sample);
        for (const QString &clip : corpus())
            all.emplace_back(QStringList{clip});
        return all;
    }();
    return prepared;
}

void addCorpusCounters(benchmark::State &state, int matches)
{
    qint64 characters = 0;
    for (const QString &clip : corpus())
        characters += clip.size();
    state.counters["clips"] = double(corpus().size());
    state.counters["avgChars"] = double(characters) / double(corpus().size());
    state.counters["matches"] = matches;
    state.SetItemsProcessed(state.iterations() * corpus().size());
}

// What the store does per keystroke: prepare the terms once, then score every clip's
// prepared haystack.
void scoreCorpus(benchmark::State &state, const QStringList &terms)
{
    haystacks();
    int matches = 0;
    for (auto _ : state) {
        const auto query = FuzzyMatcher::PreparedQuery::prepare(terms);
        matches = 0;
        for (const auto &score : FuzzyMatcher::scoreAll(query, haystacks()))
            matches += score.has_value();
        benchmark::DoNotOptimize(matches);
    }
    addCorpusCounters(state, matches);
}

// The same one clip at a time, for callers that keep haystacks apart (no loading ahead).
void BM_FuzzyScore_PerClipCalls_TwoTermsOneTypo(benchmark::State &state)
{
    const QStringList terms{"postgres", "conection"};
    haystacks();
    int matches = 0;
    for (auto _ : state) {
        const auto query = FuzzyMatcher::PreparedQuery::prepare(terms);
        const FuzzyMatcher::IndexedQuery indexed(query);
        matches = 0;
        for (const FuzzyHaystack &haystack : haystacks())
            matches += indexed.score(haystack).has_value();
        benchmark::DoNotOptimize(matches);
    }
    addCorpusCounters(state, matches);
}

// The same without the per-clip index: every clip's text is read.
void scoreCorpusText(benchmark::State &state, const QStringList &terms)
{
    int matches = 0;
    for (auto _ : state) {
        const auto query = FuzzyMatcher::PreparedQuery::prepare(terms);
        matches = 0;
        for (const QString &clip : corpus()) {
            if (FuzzyMatcher::score(query, QStringView(clip)))
                ++matches;
        }
        benchmark::DoNotOptimize(matches);
    }
    addCorpusCounters(state, matches);
}

void BM_FuzzyScore_TwoTermsOneTypo(benchmark::State &state) { scoreCorpus(state, {"postgres", "conection"}); }
void BM_FuzzyScore_TwoTermsExact(benchmark::State &state) { scoreCorpus(state, {"postgres", "connection"}); }
void BM_FuzzyScore_CommonShortTerms(benchmark::State &state) { scoreCorpus(state, {"the", "to"}); }
void BM_FuzzyScore_TextOnly_TwoTermsOneTypo(benchmark::State &state) { scoreCorpusText(state, {"postgres", "conection"}); }

void BM_FuzzyHaystack_Build(benchmark::State &state)
{
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const QString &clip : corpus())
            bytes += FuzzyHaystack(QStringList{clip}).memoryUsage();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["indexBytesPerClip"] = double(bytes) / double(corpus().size());
    state.SetItemsProcessed(state.iterations() * corpus().size());
}

void BM_ContentDetector_Corpus(benchmark::State &state)
{
    int code = 0;
    for (auto _ : state) {
        code = 0;
        for (const QString &clip : corpus())
            code += ContentDetector::detect(clip).group == ClipGroup::code;
        benchmark::DoNotOptimize(code);
    }
    addCorpusCounters(state, code);
}

void BM_SearchQuery_Parse(benchmark::State &state)
{
    const QTimeZone zone("Europe/Berlin");
    const QDateTime now = QDateTime::currentDateTime();
    const QString text = QStringLiteral("invoice \"march report\" type:links app:firefox tag:red yesterday today draft");
    for (auto _ : state)
        benchmark::DoNotOptimize(SearchQuery::parse(text, now, zone));
    state.SetItemsProcessed(state.iterations());
}

void BM_HighlightRanges_TypicalRow(benchmark::State &state)
{
    const QString row = corpus()[7];
    for (auto _ : state)
        benchmark::DoNotOptimize(FuzzyMatcher::highlightRanges({"postgres", "conection"}, row));
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(BM_FuzzyScore_TwoTermsOneTypo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FuzzyScore_TwoTermsExact)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FuzzyScore_CommonShortTerms)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FuzzyScore_PerClipCalls_TwoTermsOneTypo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FuzzyScore_TextOnly_TwoTermsOneTypo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FuzzyHaystack_Build)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ContentDetector_Corpus)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchQuery_Parse)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HighlightRanges_TypicalRow)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
