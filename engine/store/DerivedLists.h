#pragma once

#include "ClipCollection.h"
#include "ClipFilter.h"
#include "SourceApp.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QStringList>
#include <QTimeZone>

#include <array>
#include <atomic>
#include <optional>
#include <vector>

namespace corvane {

/** @brief What a search needs besides the clips: the time, the calendar and the secrets shown. */
struct SearchContext {
    QDateTime now;
    QTimeZone zone;
    QSet<std::int64_t> revealedSecrets;
    /** The revealed secrets' clips, read beforehand: searching scores their clear texts. */
    QHash<std::int64_t, ClipRef> revealedClips;
};

/**
 * @brief The store's derived lists as pure functions over a loaded history.
 *
 * Lists of clips are indices into `ClipCollection::entries()`.
 */
namespace DerivedLists {

/** The clips the filter selects and the search matches, in list order or best score first. */
std::vector<int> visible(const ClipCollection &clips, const ClipFilter &filter, const QString &searchText,
                         const SearchContext &context);
/**
 * The same over a snapshot, for a search on another thread: indexes missing from the snapshot
 * are built for this search only. Returns nothing once `cancelled` is set.
 */
std::optional<std::vector<int>> visible(const ClipSnapshot &clips, const ClipFilter &filter, const QString &searchText,
                                        const SearchContext &context, const std::atomic<bool> &cancelled);

/**
 * Sections of a visible list: "Results" for a search, else "Pinned" (unless the filter is the
 * pinned one) then runs of one day. The visible list already has the pinned clips first.
 */
SectionLayout sectionLayout(const ClipCollection &clips, const std::vector<int> &visible, const ClipFilter &filter,
                            const QString &searchText, const SearchContext &context);
/** The sections of a layout as lists of clips. */
std::vector<ClipSection> sections(const ClipCollection &clips, const std::vector<int> &visible, const SectionLayout &layout);

/** The ids' clips, in list order. */
std::vector<int> selected(const ClipCollection &clips, const QSet<std::int64_t> &ids);

QList<ClipGroup> availableGroups(const ClipCollection &clips);

/** @brief How many clips each filter without a search selects, counted in one pass. */
struct FilterCounts {
    std::int64_t all = 0;
    std::int64_t pinned = 0;
    /** Indexed by ClipGroup. */
    std::array<std::int64_t, ClipGroups::allCases.size()> groups{};
    /** Indexed by ColorTag. */
    std::array<std::int64_t, ColorTags::allCases.size()> tags{};
};
FilterCounts filterCounts(const ClipCollection &clips);

QList<ColorTag> usedTags(const ClipCollection &clips);
/** Start-of-day dates (seconds since 1970) of every clip, ascending. */
QList<std::int64_t> daysWithClips(const ClipCollection &clips);

/** One entry per source key, ranked by recency-weighted frequency. */
QList<SourceApp> sources(const ClipCollection &clips);
/** The sources not hidden: kept ones first (ranked order), then the best others, 5 at most unless more are kept. */
QList<SourceApp> sidebarSources(const QList<SourceApp> &ranked, const QStringList &kept, const QStringList &hidden);

inline constexpr int sidebarSourceLimit = 5;

} // namespace DerivedLists
} // namespace corvane
