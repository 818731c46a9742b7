#include "AppSettings.h"
#include "ClipboardStore.h"
#include "DerivedListCache.h"

namespace corvane {

namespace {

int positionOf(const ClipCollection &clips, const std::vector<int> &visible, std::int64_t id)
{
    const int index = clips.indexOf(id);
    if (index < 0)
        return -1;
    const auto it = std::find(visible.begin(), visible.end(), index);
    return it == visible.end() ? -1 : int(it - visible.begin());
}

} // namespace

std::int64_t ClipboardStore::nearestMember(std::int64_t removed, const QSet<std::int64_t> &members) const
{
    // The member closest to the removed clip in the visible list, earlier on a tie.
    const auto &visible = m_derived->visible(m_filter, m_searchText, searchContext());
    const int origin = positionOf(m_clips, visible, removed);
    std::optional<std::int64_t> best;
    int bestDistance = 0;
    for (int i = 0; i < int(visible.size()); ++i) {
        const std::int64_t id = m_clips.entries()[visible[i]].clip->id;
        if (!members.contains(id))
            continue;
        const int distance = origin < 0 ? i : std::abs(i - origin);
        if (!best || distance < bestDistance) {
            best = id;
            bestDistance = distance;
        }
    }
    return best ? *best : *std::min_element(members.begin(), members.end());
}

void ClipboardStore::setSelection(std::optional<std::int64_t> anchor, QSet<std::int64_t> ids)
{
    if (anchor == m_selectedID && ids == m_selectedIDs)
        return;
    m_selectedID = anchor;
    m_selectedIDs = std::move(ids);
    emit selectionChanged();
}

bool ClipboardStore::isInMultipleSelection(qint64 id) const
{
    return m_selectedIDs.size() >= 2 && m_selectedIDs.contains(id);
}

void ClipboardStore::select(qint64 id, bool command, bool shift)
{
    if (!m_clips.contains(id))
        return;
    if (command) {
        QSet<std::int64_t> ids = m_selectedIDs;
        std::optional<std::int64_t> anchor;
        if (ids.remove(id)) {
            if (m_selectedID && ids.contains(*m_selectedID))
                anchor = m_selectedID;
            else if (!ids.isEmpty())
                anchor = nearestMember(id, ids);
        } else {
            ids.insert(id);
            anchor = id;
        }
        setSelection(anchor, std::move(ids));
    } else if (shift && m_selectedID) {
        const auto &visible = m_derived->visible(m_filter, m_searchText, searchContext());
        const int from = positionOf(m_clips, visible, *m_selectedID);
        const int to = positionOf(m_clips, visible, id);
        if (from >= 0 && to >= 0) {
            QSet<std::int64_t> range;
            for (int i = std::min(from, to); i <= std::max(from, to); ++i)
                range.insert(m_clips.entries()[visible[i]].clip->id);
            setSelection(m_selectedID, std::move(range));
        } else {
            setSelection(id, {id});
        }
    } else {
        setSelection(id, {id});
    }
    if (m_settings->autoShowPreview() || !m_selectedID)
        setShowInspector(m_selectedID.has_value());
}

void ClipboardStore::moveSelection(int offset)
{
    const auto &visible = m_derived->visible(m_filter, m_searchText, searchContext());
    if (visible.empty())
        return;
    const int current = m_selectedID ? positionOf(m_clips, visible, *m_selectedID) : -1;
    int target;
    if (current >= 0)
        target = std::clamp(current + offset, 0, int(visible.size()) - 1);
    else
        target = offset < 1 ? int(visible.size()) - 1 : 0;
    select(m_clips.entries()[visible[target]].clip->id);
}

void ClipboardStore::clearSelection()
{
    setSelection(std::nullopt, {});
    setShowInspector(false);
}

ClipList ClipboardStore::selectedClips() const
{
    return m_clips.toList(DerivedLists::selected(m_clips, m_selectedIDs));
}

QVariant ClipboardStore::selectedIDValue() const
{
    return m_selectedID ? QVariant::fromValue(qint64(*m_selectedID)) : QVariant();
}

QVariantList ClipboardStore::selectedIDValues() const
{
    QVariantList ids;
    for (const ClipRef &clip : selectedClips())
        ids.append(qint64(clip->id));
    return ids;
}

} // namespace corvane
