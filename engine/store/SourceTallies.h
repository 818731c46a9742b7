#pragma once

#include "SourceApp.h"
#include "SourceRanking.h"

#include <QList>

#include <cstdint>
#include <vector>

namespace corvane {

struct ClipEntry;
struct ClipSource;

/**
 * @brief Per source: how many clips, their summed weight and the newest clip, kept up to date
 * as clips are counted in and out, so ranking a million clips reads one tally per source.
 */
class SourceTallies
{
public:
    /** Counts a clip in (`by` 1) or out (`by` -1); clips without a source are left out. */
    void count(const ClipSource *source, double createdAt, std::int64_t id, int by);

    /**
     * One entry per source key, ranked by recency-weighted frequency, named after its newest clip.
     * `entries` are the counted clips newest first: where a source's newest clip went, the next
     * is found there.
     */
    QList<SourceApp> ranked(const std::vector<ClipEntry> &entries) const;

private:
    struct Source {
        SourceRanking::Tally tally;
        std::int64_t count = 0;
        /** The newest clip (date, then id, as the entries are ordered) and the source it names. */
        std::int64_t newestID = 0;
        const ClipSource *named = nullptr;
        /**
         * False once the newest clip went: `tally.newest` and `newestID` then stay as an upper
         * bound, so a clip counted in at or above it is the newest again.
         */
        bool newestKnown = false;
    };

    // Found again in ranked(), the one place that needs it.
    mutable std::vector<Source> m_sources; // by source id
};

} // namespace corvane
