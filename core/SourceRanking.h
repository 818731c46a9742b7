#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <utility>

namespace corvane::SourceRanking {

/**
 * Orders source keys by recency-weighted frequency: each clip adds 0.5^(age in days / 7), age
 * counted from the newest date in the input (so no clock is needed). Ties: newest date first,
 * then key ascending. Each key appears once; a clip without a valid date adds nothing.
 */
QStringList rank(const QList<std::pair<QString, QDateTime>> &clips);

/**
 * @brief The summed weight of some clips, exact, so clips can be taken out again.
 *
 * Every clip's weight 0.5^(age / 7 days) is 2^(date / 7 days) over 2^(newest / 7 days): the
 * common divisor changes no order, so the sum is kept as a whole number of 2^(date / 7 days)
 * (53 significant bits per clip) that neither the newest date nor the order of adding moves.
 */
class Weight
{
public:
    void add(double createdAt) { step(createdAt, true); }
    void remove(double createdAt) { step(createdAt, false); }
    bool isZero() const;

    std::strong_ordering operator<=>(const Weight &other) const;
    bool operator==(const Weight &other) const = default;

private:
    void step(double createdAt, bool adding);

    // Dates from 1970 to 2106 (seconds, clamped) span 7,102 weeks, one bit per week, plus a
    // clip's 53 bits and room for 2^32 clips.
    static constexpr std::size_t wordCount = 113;
    std::array<std::uint64_t, wordCount> m_words{};
};

/** @brief One source's clips summed up for ranking. */
struct Tally {
    Weight weight;
    /** The newest date (seconds since 1970), when any clip is dated. */
    std::optional<double> newest;
};

/** Whether the source `a` with key `keyA` ranks before `b` with `keyB` in rank() order. */
bool before(const Tally &a, const QString &keyA, const Tally &b, const QString &keyB);

} // namespace corvane::SourceRanking
