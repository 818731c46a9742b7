#include "AppSettings.h"
#include "ClipboardStore.h"
#include "BackgroundSearch.h"
#include "DerivedListCache.h"

namespace corvane {

ClipList ClipboardStore::visibleClips(const ClipFilter &filter, const QString &searchText) const
{
    return m_derived->visibleList(filter, searchText, searchContext());
}

std::shared_ptr<const std::vector<std::int64_t>> ClipboardStore::visibleIDs(const ClipFilter &filter,
                                                                            const QString &searchText) const
{
    return m_derived->visibleIDs(filter, searchText, searchContext());
}

bool ClipboardStore::visibleIsReady(const ClipFilter &filter, const QString &searchText) const
{
    return searchText.trimmed().isEmpty() || m_clips.size() < m_backgroundSearchFrom
        || m_derived->contains(filter, searchText, searchContext());
}

void ClipboardStore::startVisibleSearch(const ClipFilter &filter, const QString &searchText)
{
    if (m_search->isSearching(filter, searchText))
        return;
    m_search->start(m_clips.snapshot(), {filter, searchText, searchContext(), m_derived->secretsRevision()});
}

std::vector<ClipSection> ClipboardStore::sections(const ClipFilter &filter, const QString &searchText) const
{
    return m_derived->sections(filter, searchText, searchContext());
}

SectionLayout ClipboardStore::sectionLayout(const ClipFilter &filter, const QString &searchText) const
{
    return m_derived->sectionLayout(filter, searchText, searchContext());
}

QList<ClipGroup> ClipboardStore::availableGroups() const { return DerivedLists::availableGroups(m_clips); }

QList<ColorTag> ClipboardStore::usedTags() const { return DerivedLists::usedTags(m_clips); }

QList<QDateTime> ClipboardStore::daysWithClips() const
{
    QList<QDateTime> days;
    for (std::int64_t day : DerivedLists::daysWithClips(m_clips))
        days.append(QDateTime::fromSecsSinceEpoch(day, m_zone));
    return days;
}

QList<SourceApp> ClipboardStore::sources() const { return m_derived->sources(); }

QList<SourceApp> ClipboardStore::sidebarSources() const
{
    return DerivedLists::sidebarSources(m_derived->sources(), m_settings->keptSources(), m_settings->hiddenSources());
}

namespace {

QVariantList sourceValueList(const QList<SourceApp> &sources)
{
    QVariantList values;
    for (const SourceApp &source : sources) {
        values.append(QVariantMap{{QStringLiteral("bundleID"), source.bundleID},
                                  {QStringLiteral("name"), source.name},
                                  {QStringLiteral("count"), qint64(source.count)}});
    }
    return values;
}

} // namespace

QStringList ClipboardStore::availableGroupValues() const
{
    QStringList groups;
    for (ClipGroup group : availableGroups())
        groups.append(ClipGroups::rawValue(group));
    return groups;
}

QVariantList ClipboardStore::usedTagValues() const
{
    QVariantList tags;
    for (ColorTag tag : usedTags())
        tags.append(ColorTags::rawValue(tag));
    return tags;
}

QVariantList ClipboardStore::dayValues() const
{
    QVariantList days;
    for (std::int64_t day : DerivedLists::daysWithClips(m_clips))
        days.append(double(day));
    return days;
}

QVariantList ClipboardStore::sourceValues() const { return sourceValueList(sources()); }

QVariantList ClipboardStore::sidebarSourceValues() const { return sourceValueList(sidebarSources()); }

} // namespace corvane
