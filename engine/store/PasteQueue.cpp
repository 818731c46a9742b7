#include "PasteQueue.h"

namespace corvane {

std::optional<std::int64_t> PasteQueue::currentID() const
{
    if (m_ids.isEmpty())
        return std::nullopt;
    return m_ids.at(m_current);
}

int PasteQueue::append(const QList<std::int64_t> &ids)
{
    int appended = 0;
    for (std::int64_t id : ids) {
        if (m_ids.contains(id))
            continue;
        m_ids.append(id);
        ++appended;
    }
    return appended;
}

bool PasteQueue::advance()
{
    if (m_ids.isEmpty())
        return false;
    if (m_current + 1 >= m_ids.size()) {
        clear();
        return false;
    }
    ++m_current;
    return true;
}

void PasteQueue::clear()
{
    m_ids.clear();
    m_current = 0;
}

PasteQueue::Retained PasteQueue::retain(const std::function<bool(std::int64_t)> &exists)
{
    Retained result;
    if (m_ids.isEmpty())
        return result;
    const std::int64_t oldCurrent = m_ids.at(m_current);
    QList<std::int64_t> kept;
    int newCurrent = -1;
    for (int i = 0; i < m_ids.size(); ++i) {
        if (i == m_current)
            newCurrent = int(kept.size()); // the first survivor at or after the old current item
        if (exists(m_ids.at(i)))
            kept.append(m_ids.at(i));
    }
    if (kept.size() == m_ids.size())
        return result;
    result.changed = true;
    m_ids = kept;
    if (newCurrent >= m_ids.size()) {
        clear();
        return result;
    }
    m_current = newCurrent;
    result.currentReplaced = m_ids.at(m_current) != oldCurrent;
    return result;
}

} // namespace corvane
