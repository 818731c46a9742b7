#pragma once

#include "ClipActions.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace corvane {

/** @brief One line of a clip's context menu. */
struct MenuEntry {
    enum class Kind { Action, Separator, TagsSubmenu };
    enum class Action {
        None,
        Copy,
        CopyPlain,
        CopyClips,
        TogglePin,
        AddToStack,
        Reveal,
        KeepSource,
        StopKeepingSource,
        Delete,
        DeleteClips,
        ToggleTag
    };
    Kind kind = Kind::Action;
    Action action = Action::None;
    QString label;
    QString icon;
    bool destructive = false;
    bool checked = false;
    ColorTag tag = ColorTag::red;
    bool operator==(const MenuEntry &) const = default;
};

/** @brief The selection the menu was opened over. */
struct SelectionSnapshot {
    QSet<std::int64_t> selectedIDs;
    QList<std::int64_t> selectedInOrder; ///< in list order
};

/**
 * @brief The clip context menu, decided when it opens.
 *
 * Under a multiple selection (the clip is selected and two or more are) the counts and the
 * actions use the same list, `selectedInOrder` of the snapshot, so a label never counts a clip
 * the action leaves alone.
 */
class ClipMenu
{
public:
    ClipMenu(Clip clip, SelectionSnapshot selection, bool revealed, const QStringList &keptSources);

    bool isMulti() const { return m_multi; }
    const std::vector<MenuEntry> &entries() const { return m_entries; }
    const std::vector<MenuEntry> &tagEntries() const { return m_tags; }

    /** Runs an entry of `entries()` or `tagEntries()` on `actions`. */
    void perform(const MenuEntry &entry, ClipActions &actions) const;

private:
    Clip m_clip;
    QList<std::int64_t> m_targets;
    bool m_multi = false;
    std::vector<MenuEntry> m_entries;
    std::vector<MenuEntry> m_tags;
};

} // namespace corvane
