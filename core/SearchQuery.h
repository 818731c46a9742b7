#pragma once

#include "ClipGroup.h"
#include "ColorTag.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <cstdint>
#include <optional>

namespace corvane {

/**
 * @brief A parsed search: plain terms plus the filter words "type:", "app:", "tag:", "today" and
 * "yesterday". The same key repeated means OR; different keys AND together.
 */
struct SearchQuery {
    /** @brief A half-open span of time [start, end). */
    struct DateRange {
        QDateTime start;
        QDateTime end;

        bool contains(const QDateTime &moment) const { return start <= moment && moment < end; }
        friend bool operator==(const DateRange &, const DateRange &) = default;
    };

    /** Remaining plain words (quoted tokens always land here, without their quotes). */
    QStringList terms;
    QList<ClipGroup> groups;
    /** Values of "app:", matched as case-insensitive substrings of a clip's source. */
    QStringList apps;
    QList<ColorTag> tags;
    std::optional<DateRange> dateRange;

    /** Parses a search text; calendar days are those of `zone`. */
    static SearchQuery parse(const QString &text, const QDateTime &now, const QTimeZone &zone);

    /** True when any filter besides the terms is set. */
    bool hasFilters() const;
    bool isEmpty() const { return terms.isEmpty() && !hasFilters(); }

    /** Per-filter checks; each passes when its filter is not set. */
    bool matchesGroup(ClipGroup group) const;
    bool matchesSource(const QString &sourceName, const QString &sourceKey, const QString &sourceHost) const;
    bool matchesTags(std::int64_t tagMask) const;
    bool matchesDate(const QDateTime &createdAt) const;

    friend bool operator==(const SearchQuery &, const SearchQuery &) = default;
};

} // namespace corvane
