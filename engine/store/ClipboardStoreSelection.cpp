#include "AppSettings.h"
#include "ClipboardStore.h"
#include "DerivedListCache.h"
#include "DerivedLists.h"

namespace corvane {

Selection::Order ClipboardStore::visibleOrder() const
{
    const std::vector<int> &visible = m_derived->visible(m_filter, m_searchText, searchContext());
    return {int(visible.size()), [this, &visible](int position) { return m_clips.entries()[visible[position]].id; },
            [this, &visible](std::int64_t id) {
                const int index = m_clips.indexOf(id);
                if (index < 0)
                    return -1;
                const auto it = std::find(visible.begin(), visible.end(), index);
                return it == visible.end() ? -1 : int(it - visible.begin());
            }};
}

void ClipboardStore::setSelection(std::optional<std::int64_t> anchor, QSet<std::int64_t> ids)
{
    if (m_selection.set(anchor, std::move(ids)))
        emit selectionChanged();
}

bool ClipboardStore::isInMultipleSelection(qint64 id) const { return m_selection.isInMultiple(id); }

void ClipboardStore::select(qint64 id, bool command, bool shift)
{
    if (!m_clips.contains(id))
        return;
    if (m_selection.select(id, command, shift, visibleOrder()))
        emit selectionChanged();
    if (m_settings->autoShowPreview() || !selectedID())
        setShowInspector(selectedID().has_value());
}

void ClipboardStore::moveSelection(int offset)
{
    if (const std::optional<std::int64_t> target = m_selection.moveTarget(offset, visibleOrder()))
        select(*target);
}

void ClipboardStore::clearSelection()
{
    setSelection(std::nullopt, {});
    setShowInspector(false);
}

ClipList ClipboardStore::selectedClips() const { return m_clips.toList(DerivedLists::selected(m_clips, m_selection.ids())); }

QVariant ClipboardStore::selectedIDValue() const
{
    return selectedID() ? QVariant::fromValue(qint64(*selectedID())) : QVariant();
}

QVariantList ClipboardStore::selectedIDValues() const
{
    QVariantList ids;
    for (const std::int64_t id : selectedIDsInOrder())
        ids.append(qint64(id));
    return ids;
}

QList<std::int64_t> ClipboardStore::selectedIDsInOrder() const
{
    QList<std::int64_t> ids;
    for (const int index : DerivedLists::selected(m_clips, m_selection.ids()))
        ids.append(m_clips.entries()[std::size_t(index)].id);
    return ids;
}

} // namespace corvane
