#include "DerivedLists.h"

#include "ClipText.h"
#include "FuzzyMatcher.h"
#include "SearchQuery.h"

#include <QThread>
#include <QtConcurrent/QtConcurrentMap>

#include <algorithm>
#include <array>
#include <bit>
#include <map>
#include <unordered_map>

namespace corvane::DerivedLists {

namespace {

/** Below this many clips a search runs on the calling thread alone. */
constexpr std::size_t parallelThreshold = 4096;

bool passesFilter(const ClipEntry &entry, const ClipFilter &filter)
{
    switch (filter.kind) {
    case ClipFilter::Kind::all:
        return true;
    case ClipFilter::Kind::pinned:
        return entry.isPinned;
    case ClipFilter::Kind::group:
        return entry.group == filter.group;
    case ClipFilter::Kind::app:
        return entry.sourceKey() == filter.bundleID;
    case ClipFilter::Kind::tag:
        return (entry.tagMask & ColorTags::bit(filter.tag)) != 0;
    case ClipFilter::Kind::day:
        return entry.dayStart() == std::int64_t(filter.day);
    }
    return false;
}

/** How a search reaches the entries' indexes: kept when built, or when missing their texts are read. */
enum class IndexUse { keep, borrow };

/** @brief One run of entries to score together (see FuzzyMatcher::scoreBatch). */
class ScoreRun
{
public:
    ScoreRun(const FuzzyMatcher::IndexedQuery &query, IndexUse use)
        : m_query(query)
        , m_use(use)
    {
    }

    void add(const ClipEntry &entry) { m_entries.push_back(&entry); }

    /** Scores the entries added since the last call, in order; then starts a new run. */
    const std::vector<std::optional<double>> &score()
    {
        m_indexes.clear();
        m_unindexed.clear();
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            const ClipEntry *entry = m_entries[i];
            if (m_use == IndexUse::keep || entry->haystack) {
                m_indexes.push_back(&entry->searchIndex());
            } else {
                // Indexing it here would only be thrown away; its text is still at hand.
                m_indexes.push_back(&m_none);
                m_unindexed.push_back(i);
            }
        }
        m_scores.resize(m_entries.size());
        FuzzyMatcher::scoreBatch(m_query, m_indexes, m_scores);
        for (const std::size_t i : m_unindexed)
            m_scores[i] = FuzzyMatcher::score(m_query.query(), m_entries[i]->searchFields().span());
        m_entries.clear();
        return m_scores;
    }

private:
    const FuzzyMatcher::IndexedQuery &m_query;
    IndexUse m_use;
    std::vector<const ClipEntry *> m_entries;
    std::vector<const FuzzyHaystack *> m_indexes;
    std::vector<std::size_t> m_unindexed;
    const FuzzyHaystack m_none;
    std::vector<std::optional<double>> m_scores;
};

/** Checked this often while scoring, so a cancelled search stops within a fraction of a millisecond. */
constexpr std::size_t cancelCheckInterval = 512;

std::optional<std::vector<int>> visibleIn(const std::vector<ClipEntry> &entries, const std::vector<int> &order,
                                          const ClipFilter &filter, const QString &searchText, const SearchContext &context,
                                          IndexUse use, const std::atomic<bool> *cancelled)
{
    std::vector<int> result;
    if (searchText.trimmed().isEmpty()) {
        if (filter.kind == ClipFilter::Kind::all)
            return order;
        for (int index : order) {
            if (passesFilter(entries[index], filter))
                result.push_back(index);
        }
        return result;
    }
    const SearchQuery query = SearchQuery::parse(searchText, context.now, context.zone);
    const FuzzyMatcher::PreparedQuery prepared = FuzzyMatcher::PreparedQuery::prepare(query.terms);
    // Every term looked up in the runs of all indexes once, before the slices score clips.
    const FuzzyMatcher::IndexedQuery indexed(prepared);
    double rangeStart = 0;
    double rangeEnd = 0;
    if (query.dateRange) {
        rangeStart = query.dateRange->start.toMSecsSinceEpoch() / 1000.0;
        rangeEnd = query.dateRange->end.toMSecsSinceEpoch() / 1000.0;
    }
    // Scored in slices on the worker threads, each slice in list order, so joining the slices
    // keeps the list order that breaks ties.
    // A revealed secret's clear text joins its fields for as long as it is shown, so it is
    // scored from its texts; every other clip from its index, a run of them at a time.
    auto isRevealed
        = [&](const ClipEntry &entry) { return entry.group == ClipGroup::secret && context.revealedSecrets.contains(entry.id); };
    auto revealedScore = [&](const ClipEntry &entry) {
        const ClipRef clip = entry.clip ? entry.clip : context.revealedClips.value(entry.id);
        if (!clip) // gone from the history meanwhile: its index is all there is
            return indexed.score(entry.haystack);
        const QString secret = clip->text().value_or(QString());
        return FuzzyMatcher::score(prepared, ClipEntry::searchFields(*clip, entry.sourceDisplayName(), &secret).span());
    };
    auto scoreSlice = [&](std::size_t from, std::size_t to, std::vector<std::pair<double, int>> &scored) {
        ScoreRun run(indexed, use);
        std::vector<int> passed;
        for (std::size_t start = from; start < to; start += cancelCheckInterval) {
            if (cancelled && cancelled->load(std::memory_order_relaxed))
                return;
            passed.clear();
            for (std::size_t k = start; k < std::min(to, start + cancelCheckInterval); ++k) {
                const int index = order[k];
                const ClipEntry &entry = entries[index];
                if (!passesFilter(entry, filter) || !query.matchesGroup(entry.group) || !query.matchesTags(entry.tagMask))
                    continue;
                if (query.dateRange && (entry.createdAt < rangeStart || entry.createdAt >= rangeEnd))
                    continue;
                if (!query.apps.isEmpty()
                    && !query.matchesSource(entry.source->name, entry.sourceKey(), entry.sourceHost()))
                    continue;
                if (prepared.isEmpty()) {
                    scored.emplace_back(0.0, index);
                    continue;
                }
                passed.push_back(index);
                if (!isRevealed(entry))
                    run.add(entry);
            }
            if (passed.empty())
                continue;
            const std::vector<std::optional<double>> &scores = run.score();
            std::size_t next = 0;
            for (const int index : passed) {
                const ClipEntry &entry = entries[index];
                const std::optional<double> score = isRevealed(entry) ? revealedScore(entry) : scores[next++];
                if (score)
                    scored.emplace_back(*score, index);
            }
        }
    };
    const std::size_t total = order.size();
    const int slices = total < parallelThreshold ? 1 : std::clamp(QThread::idealThreadCount(), 1, 8);
    std::vector<std::vector<std::pair<double, int>>> parts(static_cast<std::size_t>(slices));
    if (slices == 1) {
        scoreSlice(0, total, parts[0]);
    } else {
        QList<int> sliceNumbers;
        for (int i = 0; i < slices; ++i)
            sliceNumbers.append(i);
        QtConcurrent::blockingMap(sliceNumbers, [&](int slice) {
            scoreSlice(total * std::size_t(slice) / std::size_t(slices), total * std::size_t(slice + 1) / std::size_t(slices),
                       parts[std::size_t(slice)]);
        });
    }
    if (cancelled && cancelled->load())
        return std::nullopt;
    std::vector<std::pair<double, int>> scored;
    for (auto &part : parts)
        scored.insert(scored.end(), part.begin(), part.end());
    std::stable_sort(scored.begin(), scored.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    result.reserve(scored.size());
    for (const auto &[score, index] : scored)
        result.push_back(index);
    return result;
}

/**
 * @brief Section titles by start of day, kept while the day and the time zone stay: a million
 * clips span thousands of days, and each title costs a time zone conversion.
 */
class DayTitles
{
public:
    explicit DayTitles(const SearchContext &context)
        : m_context(context)
    {
        Cache &cache = shared();
        const QDate today = context.now.toTimeZone(context.zone).date();
        if (cache.today != today || cache.zone != context.zone)
            cache = {today, context.zone, {}};
    }

    const QString &of(std::int64_t day)
    {
        auto [title, added] = shared().titles.try_emplace(day);
        if (added)
            title->second = ClipText::dayTitle(QDateTime::fromSecsSinceEpoch(day, m_context.zone), m_context.now, m_context.zone);
        return title->second;
    }

private:
    struct Cache {
        QDate today;
        QTimeZone zone;
        std::unordered_map<std::int64_t, QString> titles;
    };
    static Cache &shared()
    {
        thread_local Cache cache;
        return cache;
    }

    const SearchContext &m_context;
};

} // namespace

std::vector<int> visible(const ClipCollection &clips, const ClipFilter &filter, const QString &searchText,
                         const SearchContext &context)
{
    // Indexes are kept only while no snapshot reads the entries on another thread.
    const IndexUse use = clips.isShared() ? IndexUse::borrow : IndexUse::keep;
    return *visibleIn(clips.entries(), clips.listOrder(), filter, searchText, context, use, nullptr);
}

std::optional<std::vector<int>> visible(const ClipSnapshot &clips, const ClipFilter &filter, const QString &searchText,
                                        const SearchContext &context, const std::atomic<bool> &cancelled)
{
    return visibleIn(*clips.entries, *clips.listOrder, filter, searchText, context, IndexUse::borrow, &cancelled);
}

SectionLayout sectionLayout(const ClipCollection &clips, const std::vector<int> &visible, const ClipFilter &filter,
                            const QString &searchText, const SearchContext &context)
{
    SectionLayout layout;
    if (visible.empty())
        return layout;
    layout.rowSection.resize(visible.size(), 0);
    if (!searchText.trimmed().isEmpty()) {
        layout.titles.append(QStringLiteral("Results"));
        layout.starts.push_back(0);
        return layout;
    }
    const auto &entries = clips.entries();
    const bool pinnedFilter = filter.kind == ClipFilter::Kind::pinned;
    DayTitles titles(context);
    std::size_t row = 0;
    if (!pinnedFilter && entries[visible[0]].isPinned) {
        layout.titles.append(QStringLiteral("Pinned"));
        layout.starts.push_back(0);
        while (row < visible.size() && entries[visible[row]].isPinned)
            layout.rowSection[row++] = 0;
    }
    auto addSection = [&](std::int64_t day, std::size_t end) {
        layout.titles.append(titles.of(day));
        layout.starts.push_back(int(row));
        std::fill(layout.rowSection.begin() + std::ptrdiff_t(row), layout.rowSection.begin() + std::ptrdiff_t(end),
                  int(layout.titles.size()) - 1);
        row = end;
    };
    if (filter.kind == ClipFilter::Kind::all && visible.size() == std::size_t(clips.size())) {
        // Every clip, pinned ones first: the days' runs are the collection's clips per day, less
        // the pinned ones, so no clip is read.
        std::map<std::int64_t, std::int64_t> pinnedPerDay;
        for (std::size_t k = 0; k < row; ++k)
            ++pinnedPerDay[entries[visible[k]].dayStart()];
        const auto &days = clips.tallies().days;
        layout.titles.reserve(qsizetype(days.size()) + 1);
        for (auto day = days.rbegin(); day != days.rend(); ++day) {
            const auto pinned = pinnedPerDay.find(day->first);
            const std::int64_t count = day->second - (pinned == pinnedPerDay.end() ? 0 : pinned->second);
            if (count > 0)
                addSection(day->first, row + std::size_t(count));
        }
        return layout;
    }
    auto dayOf = [&](std::size_t at) { return entries[visible[at]].dayStart(); };
    // Past the pinned clips the days only go back in time, so a day's last row is found by
    // doubling then halving steps: a history of a million clips reads a few rows per day.
    const bool datedOrder = !pinnedFilter;
    while (row < visible.size()) {
        const std::int64_t day = dayOf(row);
        std::size_t end = row + 1;
        if (datedOrder) {
            std::size_t step = 1;
            std::size_t known = row; // the last row known to be of this day
            while (end < visible.size() && dayOf(end) == day) {
                known = end;
                step *= 2;
                end = std::min(visible.size(), known + step);
            }
            while (end - known > 1) {
                const std::size_t middle = known + (end - known) / 2;
                (dayOf(middle) == day ? known : end) = middle;
            }
        } else {
            while (end < visible.size() && dayOf(end) == day)
                ++end;
        }
        addSection(day, end);
    }
    return layout;
}

std::vector<ClipSection> sections(const ClipCollection &clips, const std::vector<int> &visible, const SectionLayout &layout)
{
    std::vector<ClipSection> result(std::size_t(layout.titles.size()));
    std::size_t row = 0;
    for (int id = 0; id < int(result.size()); ++id) {
        // Sections are runs of the visible list, in order.
        std::size_t end = row;
        while (end < layout.rowSection.size() && layout.rowSection[end] == id)
            ++end;
        const std::vector<int> run(visible.begin() + std::ptrdiff_t(row), visible.begin() + std::ptrdiff_t(end));
        result[std::size_t(id)] = {id, layout.titles.at(id), clips.toList(run)};
        row = end;
    }
    return result;
}

std::vector<int> selected(const ClipCollection &clips, const QSet<std::int64_t> &ids)
{
    std::vector<int> result;
    if (ids.isEmpty())
        return result;
    for (int index : clips.listOrder()) {
        if (ids.contains(clips.entries()[index].id))
            result.push_back(index);
    }
    return result;
}

QList<ClipGroup> availableGroups(const ClipCollection &clips)
{
    QList<ClipGroup> result;
    for (ClipGroup group : ClipGroups::allCases) {
        if (clips.tallies().groups[std::size_t(group)] > 0)
            result.append(group);
    }
    return result;
}

FilterCounts filterCounts(const ClipCollection &clips)
{
    const ClipTallies &tallies = clips.tallies();
    return {clips.size(), tallies.pinned, tallies.groups, tallies.tags};
}

QList<ColorTag> usedTags(const ClipCollection &clips)
{
    QList<ColorTag> result;
    for (ColorTag tag : ColorTags::allCases) {
        if (clips.tallies().tags[std::size_t(tag)] > 0)
            result.append(tag);
    }
    return result;
}

QList<std::int64_t> daysWithClips(const ClipCollection &clips)
{
    QList<std::int64_t> days;
    days.reserve(qsizetype(clips.tallies().days.size()));
    for (const auto &[day, count] : clips.tallies().days)
        days.append(day);
    return days;
}

QList<SourceApp> sources(const ClipCollection &clips) { return clips.tallies().sources.ranked(clips.entries()); }

QList<SourceApp> sidebarSources(const QList<SourceApp> &ranked, const QStringList &kept, const QStringList &hidden)
{
    QList<SourceApp> keptSources;
    QList<SourceApp> others;
    for (const SourceApp &source : ranked) {
        if (hidden.contains(source.bundleID))
            continue;
        (kept.contains(source.bundleID) ? keptSources : others).append(source);
    }
    const qsizetype room = std::max<qsizetype>(0, sidebarSourceLimit - keptSources.size());
    keptSources.append(others.mid(0, room));
    return keptSources;
}

} // namespace corvane::DerivedLists
