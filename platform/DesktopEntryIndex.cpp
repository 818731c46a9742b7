#include "DesktopEntryIndex.h"

#include "DesktopEntryParser.h"

#include <QFileInfo>

#include <algorithm>

namespace corvane {

DesktopEntryIndex::DesktopEntryIndex(const QList<DesktopEntry> &entries)
{
    for (const DesktopEntry &entry : entries) {
        if (entry.id.isEmpty() || m_byId.contains(entry.id))
            continue;
        m_byId.insert(entry.id, entry);
        m_idByLowerId.insert(entry.id.toLower(), entry.id);
        if (!entry.startupWMClass.isEmpty() && !m_idByWMClass.contains(entry.startupWMClass.toLower()))
            m_idByWMClass.insert(entry.startupWMClass.toLower(), entry.id);
        const QString program = DesktopEntryParser::programName(entry.exec).toLower();
        // Prefer a visible entry for a program that several entries start.
        if (!program.isEmpty()) {
            const auto existing = m_idByProgram.constFind(program);
            if (existing == m_idByProgram.cend() || (m_byId.value(*existing).noDisplay && !entry.noDisplay))
                m_idByProgram.insert(program, entry.id);
        }
    }
}

std::optional<DesktopEntry> DesktopEntryIndex::entry(const QString &id) const
{
    if (auto found = m_byId.constFind(id); found != m_byId.cend())
        return *found;
    if (auto lower = m_idByLowerId.constFind(id.toLower()); lower != m_idByLowerId.cend())
        return m_byId.value(*lower);
    return std::nullopt;
}

std::optional<QString> DesktopEntryIndex::matchWindow(const QString &wmClassInstance, const QString &wmClassClass,
                                                      const QString &executable) const
{
    const QString instance = wmClassInstance.toLower();
    const QString klass = wmClassClass.toLower();
    for (const QHash<QString, QString> *table : {&m_idByWMClass, &m_idByLowerId}) {
        for (const QString &name : {klass, instance}) {
            if (name.isEmpty())
                continue;
            if (auto found = table->constFind(name); found != table->cend())
                return *found;
        }
    }
    // Reverse-domain ids often end in the class: "org.gnome.Nautilus" for class "Nautilus".
    if (!klass.isEmpty()) {
        const QString suffix = QLatin1Char('.') + klass;
        std::optional<QString> best;
        for (auto it = m_idByLowerId.cbegin(); it != m_idByLowerId.cend(); ++it) {
            if (it.key().endsWith(suffix) && (!best || it.value() < *best))
                best = it.value();
        }
        if (best)
            return best;
    }
    const QString program = QFileInfo(executable).fileName().toLower();
    if (!program.isEmpty()) {
        if (auto found = m_idByProgram.constFind(program); found != m_idByProgram.cend())
            return *found;
    }
    return std::nullopt;
}

QList<DesktopEntry> DesktopEntryIndex::visibleEntries() const
{
    QList<DesktopEntry> entries;
    for (const DesktopEntry &entry : m_byId) {
        if (!entry.noDisplay)
            entries.append(entry);
    }
    std::sort(entries.begin(), entries.end(), [](const auto &a, const auto &b) { return a.id < b.id; });
    return entries;
}

} // namespace corvane
