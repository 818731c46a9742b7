#include "SourceRanking.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

namespace corvane::SourceRanking {
namespace {

constexpr double secondsPerWeek = 7.0 * 86400.0;
constexpr double lastDate = 4294967295.0;

} // namespace

void Weight::step(double createdAt, bool adding)
{
    // NaN and dates before 1970 weigh as 1970; dates past 2106 as 2106.
    const double date = createdAt > 0 ? std::min(createdAt, lastDate) : 0.0;
    const double weeks = date / secondsPerWeek;
    const double whole = std::floor(weeks);
    // 2^fraction in [1, 2] has 52 bits after the point: times 2^52 it is a whole number.
    const auto bits = std::uint64_t(std::exp2(weeks - whole) * 0x1p52);
    const auto shift = unsigned(whole);
    const std::size_t at = shift / 64;
    const unsigned offset = shift % 64;
    const std::uint64_t low = bits << offset;
    const std::uint64_t high = offset == 0 ? 0 : bits >> (64 - offset); // below 2^54: adding a carry cannot wrap
    if (adding) {
        std::uint64_t carry = high + (__builtin_add_overflow(m_words[at], low, &m_words[at]) ? 1 : 0);
        for (std::size_t word = at + 1; carry != 0 && word < wordCount; ++word)
            carry = __builtin_add_overflow(m_words[word], carry, &m_words[word]) ? 1 : 0;
    } else {
        std::uint64_t borrow = high + (__builtin_sub_overflow(m_words[at], low, &m_words[at]) ? 1 : 0);
        for (std::size_t word = at + 1; borrow != 0 && word < wordCount; ++word)
            borrow = __builtin_sub_overflow(m_words[word], borrow, &m_words[word]) ? 1 : 0;
    }
}

bool Weight::isZero() const
{
    return std::all_of(m_words.begin(), m_words.end(), [](std::uint64_t word) { return word == 0; });
}

std::strong_ordering Weight::operator<=>(const Weight &other) const
{
    for (std::size_t at = wordCount; at-- > 0;) {
        if (m_words[at] != other.m_words[at])
            return m_words[at] <=> other.m_words[at];
    }
    return std::strong_ordering::equal;
}

bool before(const Tally &a, const QString &keyA, const Tally &b, const QString &keyB)
{
    if (a.weight != b.weight)
        return a.weight > b.weight;
    if (a.newest != b.newest)
        return a.newest && (!b.newest || *a.newest > *b.newest);
    return keyA < keyB;
}

QStringList rank(const QList<std::pair<QString, QDateTime>> &clips)
{
    std::vector<Tally> tallies;
    QStringList keys;
    QHash<QString, std::size_t> indexOf;
    for (const auto &[key, date] : clips) {
        auto found = indexOf.constFind(key);
        if (found == indexOf.cend()) {
            found = indexOf.insert(key, tallies.size());
            tallies.emplace_back();
            keys.append(key);
        }
        // An invalid date counts as very old rather than breaking the order.
        if (!date.isValid())
            continue;
        Tally &tally = tallies[*found];
        const double seconds = double(date.toMSecsSinceEpoch()) / 1000.0;
        tally.weight.add(seconds);
        tally.newest = std::max(tally.newest.value_or(seconds), seconds);
    }
    std::vector<std::size_t> order(tallies.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return before(tallies[a], keys[qsizetype(a)], tallies[b], keys[qsizetype(b)]); });
    QStringList ranked;
    ranked.reserve(keys.size());
    for (const std::size_t at : order)
        ranked.append(keys[qsizetype(at)]);
    return ranked;
}

} // namespace corvane::SourceRanking
