#include "SearchQuery.h"

#include "ClipText.h"

namespace corvane {
namespace {

/** @brief One whitespace-separated piece of the search text. */
struct Token {
    QString text;
    bool quoted = false;
};

// A double quote opens a run that ends at the next quote, so "type:image" or "two words"
// stay one plain term.
QList<Token> tokenize(const QString &text)
{
    QList<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        while (i < n && text[i].isSpace())
            ++i;
        if (i >= n)
            break;
        if (text[i] == u'"') {
            const qsizetype close = text.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? n : close;
            const QString inner = text.mid(i + 1, end - i - 1).trimmed();
            if (!inner.isEmpty())
                tokens.append({inner, true});
            i = close < 0 ? n : close + 1;
            continue;
        }
        const qsizetype start = i;
        while (i < n && !text[i].isSpace())
            ++i;
        tokens.append({text.mid(start, i - start), false});
    }
    return tokens;
}

std::optional<ClipGroup> groupNamed(const QString &value)
{
    for (ClipGroup group : ClipGroups::allCases) {
        for (const QString &name : {ClipGroups::rawValue(group), ClipGroups::displayName(group)}) {
            if (value.compare(name, Qt::CaseInsensitive) == 0 || value.compare(name + u's', Qt::CaseInsensitive) == 0)
                return group;
        }
    }
    return std::nullopt;
}

std::optional<ColorTag> tagNamed(const QString &value)
{
    for (ColorTag tag : ColorTags::allCases) {
        if (value.compare(ColorTags::name(tag), Qt::CaseInsensitive) == 0)
            return tag;
    }
    return std::nullopt;
}

template<typename T> void appendOnce(QList<T> &list, const T &value)
{
    if (!list.contains(value))
        list.append(value);
}

void unite(std::optional<SearchQuery::DateRange> &range, const SearchQuery::DateRange &day)
{
    if (!range) {
        range = day;
        return;
    }
    range->start = std::min(range->start, day.start);
    range->end = std::max(range->end, day.end);
}

} // namespace

SearchQuery SearchQuery::parse(const QString &text, const QDateTime &now, const QTimeZone &zone)
{
    SearchQuery query;
    for (const Token &token : tokenize(text)) {
        if (token.quoted) {
            query.terms.append(token.text);
            continue;
        }
        const QString &word = token.text;
        if (word.compare(u"today", Qt::CaseInsensitive) == 0) {
            unite(query.dateRange, {ClipText::startOfDay(now, zone), ClipText::startOfNextDay(now, zone)});
            continue;
        }
        if (word.compare(u"yesterday", Qt::CaseInsensitive) == 0) {
            const QDateTime today = ClipText::startOfDay(now, zone);
            const QDate yesterday = today.toTimeZone(zone).date().addDays(-1);
            unite(query.dateRange, {yesterday.startOfDay(zone), today});
            continue;
        }
        const qsizetype colon = word.indexOf(u':');
        if (colon > 0) {
            const QString key = word.left(colon).toLower();
            const QString value = word.mid(colon + 1);
            const bool knownKey = key == u"type" || key == u"app" || key == u"tag";
            if (knownKey && value.isEmpty())
                continue;
            if (key == u"type") {
                if (auto group = groupNamed(value)) {
                    appendOnce(query.groups, *group);
                    continue;
                }
            } else if (key == u"tag") {
                if (auto tag = tagNamed(value)) {
                    appendOnce(query.tags, *tag);
                    continue;
                }
            } else if (key == u"app") {
                appendOnce(query.apps, value);
                continue;
            }
        }
        query.terms.append(word);
    }
    return query;
}

bool SearchQuery::hasFilters() const { return !groups.isEmpty() || !apps.isEmpty() || !tags.isEmpty() || dateRange.has_value(); }

bool SearchQuery::matchesGroup(ClipGroup group) const { return groups.isEmpty() || groups.contains(group); }

bool SearchQuery::matchesSource(const QString &sourceName, const QString &sourceKey, const QString &sourceHost) const
{
    if (apps.isEmpty())
        return true;
    for (const QString &app : apps) {
        if (sourceName.contains(app, Qt::CaseInsensitive) || sourceKey.contains(app, Qt::CaseInsensitive)
            || sourceHost.contains(app, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool SearchQuery::matchesTags(std::int64_t tagMask) const
{
    if (tags.isEmpty())
        return true;
    for (ColorTag tag : tags) {
        if (tagMask & ColorTags::bit(tag))
            return true;
    }
    return false;
}

bool SearchQuery::matchesDate(const QDateTime &createdAt) const { return !dateRange || dateRange->contains(createdAt); }

} // namespace corvane
