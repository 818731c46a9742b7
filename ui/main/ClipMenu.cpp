#include "ClipMenu.h"

namespace corvane {
namespace {

using Action = MenuEntry::Action;
using Kind = MenuEntry::Kind;

MenuEntry item(Action action, QString label, QString icon, bool destructive = false)
{
    return {Kind::Action, action, std::move(label), std::move(icon), destructive, false, ColorTag::red};
}

MenuEntry separator() { return {Kind::Separator, Action::None, {}, {}, false, false, ColorTag::red}; }

} // namespace

ClipMenu::ClipMenu(Clip clip, SelectionSnapshot selection, bool revealed, const QStringList &keptSources)
    : m_clip(std::move(clip))
{
    m_multi = selection.selectedIDs.contains(m_clip.id) && selection.selectedIDs.size() >= 2;
    m_targets = m_multi ? selection.selectedInOrder : QList<std::int64_t>{m_clip.id};
    const QString count = QString::number(m_targets.size());

    if (m_multi) {
        m_entries.push_back(item(Action::CopyClips, QStringLiteral("Copy %1 Clips").arg(count), QStringLiteral("doc.on.doc")));
    } else {
        m_entries.push_back(item(Action::Copy, QStringLiteral("Copy"), QStringLiteral("doc.on.doc")));
        if (m_clip.hasText())
            m_entries.push_back(item(Action::CopyPlain, QStringLiteral("Copy as Plain Text"), QStringLiteral("textformat")));
    }
    m_entries.push_back(m_clip.isPinned ? item(Action::TogglePin, QStringLiteral("Unpin"), QStringLiteral("pin.slash"))
                                        : item(Action::TogglePin, QStringLiteral("Pin"), QStringLiteral("pin")));
    m_entries.push_back(item(Action::AddToStack,
                             m_multi ? QStringLiteral("Add %1 Clips to Corvane").arg(count) : QStringLiteral("Add to Corvane"),
                             QStringLiteral("square.stack.3d.up")));
    m_entries.push_back({Kind::TagsSubmenu, Action::None, QStringLiteral("Tags"), {}, false, false, ColorTag::red});
    if (m_clip.group == ClipGroup::secret) {
        m_entries.push_back(revealed ? item(Action::Reveal, QStringLiteral("Hide Secret"), QStringLiteral("eye.slash"))
                                     : item(Action::Reveal, QStringLiteral("Reveal Secret"), QStringLiteral("eye")));
    }
    if (const auto key = m_clip.sourceKey()) {
        const QString name = m_clip.sourceDisplayName();
        m_entries.push_back(separator());
        m_entries.push_back(keptSources.contains(*key)
                                ? item(Action::StopKeepingSource, QStringLiteral("Stop Keeping %1 in Sidebar").arg(name), {})
                                : item(Action::KeepSource, QStringLiteral("Keep %1 in Sidebar").arg(name), {}));
    }
    m_entries.push_back(separator());
    m_entries.push_back(
        m_multi ? item(Action::DeleteClips, QStringLiteral("Delete %1 Clips").arg(count), QStringLiteral("trash"), true)
                : item(Action::Delete, QStringLiteral("Delete"), QStringLiteral("trash"), true));

    for (ColorTag tag : ColorTags::allCases) {
        const bool tagged = m_clip.tags().contains(tag);
        m_tags.push_back({Kind::Action, Action::ToggleTag, ColorTags::name(tag),
                          tagged ? QStringLiteral("checkmark.circle.fill") : QStringLiteral("circle.fill"), false, tagged, tag});
    }
}

void ClipMenu::perform(const MenuEntry &entry, ClipActions &actions) const
{
    switch (entry.action) {
    case Action::None:
        break;
    case Action::Copy:
        actions.copy(m_clip, false);
        break;
    case Action::CopyPlain:
        actions.copy(m_clip, true);
        break;
    case Action::CopyClips:
        actions.copyClips(m_targets);
        break;
    case Action::TogglePin:
        actions.togglePin(m_clip);
        break;
    case Action::AddToStack:
        actions.addToStack(m_targets);
        break;
    case Action::Reveal:
        actions.reveal(m_clip);
        break;
    case Action::KeepSource:
        if (const auto key = m_clip.sourceKey())
            actions.keepSource(*key);
        break;
    case Action::StopKeepingSource:
        if (const auto key = m_clip.sourceKey())
            actions.unkeepSource(*key);
        break;
    case Action::Delete:
        actions.deleteClip(m_clip);
        break;
    case Action::DeleteClips:
        actions.deleteClips(m_targets);
        break;
    case Action::ToggleTag:
        actions.toggleTag(entry.tag, m_clip);
        break;
    }
}

} // namespace corvane
