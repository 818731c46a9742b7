#include "FakeDesktopEntries.h"

namespace corvane {

void FakeDesktopEntries::add(const DesktopEntry &entry, const QImage &icon)
{
    m_entries.append(entry);
    m_index = DesktopEntryIndex(m_entries);
    if (!icon.isNull())
        m_icons.insert(entry.id, icon);
}

std::optional<DesktopEntry> FakeDesktopEntries::entry(const QString &id) const { return m_index.entry(id); }

QImage FakeDesktopEntries::icon(const QString &id, int size) const
{
    ++m_iconRequests;
    const auto found = m_index.entry(id);
    const QImage image = found ? m_icons.value(found->id) : QImage();
    return image.isNull() ? image : image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

std::optional<QString> FakeDesktopEntries::matchWindow(const QString &wmClassInstance, const QString &wmClassClass,
                                                       const QString &executable) const
{
    return m_index.matchWindow(wmClassInstance, wmClassClass, executable);
}

QList<DesktopEntry> FakeDesktopEntries::allEntries() const { return m_index.visibleEntries(); }

} // namespace corvane
