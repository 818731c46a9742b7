#include "ClipMenu.h"

#include <gtest/gtest.h>

using namespace corvane;
using Action = MenuEntry::Action;
using Kind = MenuEntry::Kind;

namespace {

Clip clipOf(std::int64_t id, ClipGroup group = ClipGroup::text, std::optional<QString> text = "x")
{
    Clip c;
    c.id = id;
    c.group = group;
    c.setText(std::move(text));
    return c;
}

QStringList labels(const ClipMenu &menu)
{
    QStringList out;
    for (const MenuEntry &e : menu.entries())
        out << (e.kind == Kind::Separator ? QStringLiteral("---") : e.label);
    return out;
}

/** @brief Records every store call as one line. */
struct RecordingActions : ClipActions {
    QStringList calls;
    static QString ids(const QList<std::int64_t> &clips)
    {
        QStringList s;
        for (const std::int64_t id : clips)
            s << QString::number(id);
        return s.join(',');
    }
    void copy(const Clip &c, bool plain) override { calls << QStringLiteral("copy %1 %2").arg(c.id).arg(plain); }
    void copyClips(const QList<std::int64_t> &c) override { calls << "copyClips " + ids(c); }
    void togglePin(const Clip &c) override { calls << QStringLiteral("togglePin %1").arg(c.id); }
    void addToStack(const QList<std::int64_t> &c) override { calls << "addToStack " + ids(c); }
    void toggleTag(ColorTag t, const Clip &c) override
    {
        calls << QStringLiteral("toggleTag %1 %2").arg(ColorTags::name(t)).arg(c.id);
    }
    void reveal(const Clip &c) override { calls << QStringLiteral("reveal %1").arg(c.id); }
    void keepSource(const QString &k) override { calls << "keepSource " + k; }
    void unkeepSource(const QString &k) override { calls << "unkeepSource " + k; }
    void deleteClip(const Clip &c) override { calls << QStringLiteral("delete %1").arg(c.id); }
    void deleteClips(const QList<std::int64_t> &c) override { calls << "deleteClips " + ids(c); }
};

const MenuEntry &entry(const ClipMenu &menu, Action action)
{
    for (const MenuEntry &e : menu.entries())
        if (e.action == action)
            return e;
    static MenuEntry none;
    ADD_FAILURE() << "no entry for action " << int(action);
    return none;
}

const SelectionSnapshot threeSelected{{1, 2, 3}, {1, 2, 3}};

} // namespace

TEST(ClipMenuStructure, OneOfThreeSelectedActsOnTheSelection)
{
    Clip clip = clipOf(2);
    clip.setSourceBundleID(QStringLiteral("org.gnome.TextEditor"));
    clip.setSourceName(QStringLiteral("Text Editor"));
    const ClipMenu menu(clip, threeSelected, false, {});
    EXPECT_TRUE(menu.isMulti());
    EXPECT_EQ(labels(menu),
              (QStringList{"Copy 3 Clips", "Pin", "Add 3 Clips to Corvane", "Tags", "---", "Keep Text Editor in Sidebar", "---",
                           "Delete 3 Clips"}));
    EXPECT_TRUE(entry(menu, Action::DeleteClips).destructive);
}

TEST(ClipMenuStructure, UnselectedClipIgnoresTheSelection)
{
    const ClipMenu menu(clipOf(9), threeSelected, false, {});
    EXPECT_FALSE(menu.isMulti());
    EXPECT_EQ(labels(menu), (QStringList{"Copy", "Copy as Plain Text", "Pin", "Add to Corvane", "Tags", "---", "Delete"}));
}

TEST(ClipMenuStructure, CountsComeFromTheClipsTheActionsUse)
{
    // An id whose clip is no longer listed must not be counted.
    const SelectionSnapshot stale{{1, 2, 99}, {1, 2}};
    const ClipMenu menu(clipOf(1), stale, false, {});
    EXPECT_EQ(entry(menu, Action::CopyClips).label, "Copy 2 Clips");
    EXPECT_EQ(entry(menu, Action::DeleteClips).label, "Delete 2 Clips");
    RecordingActions actions;
    menu.perform(entry(menu, Action::DeleteClips), actions);
    EXPECT_EQ(actions.calls, QStringList{"deleteClips 1,2"});
}

TEST(ClipMenuStructure, VariantsByClip)
{
    Clip image = clipOf(4, ClipGroup::image, std::nullopt);
    image.isPinned = true;
    const ClipMenu imageMenu(image, {}, false, {});
    EXPECT_EQ(labels(imageMenu), (QStringList{"Copy", "Unpin", "Add to Corvane", "Tags", "---", "Delete"}));
    EXPECT_EQ(entry(imageMenu, Action::TogglePin).icon, "pin.slash");

    const ClipMenu masked(clipOf(5, ClipGroup::secret), {}, false, {});
    EXPECT_EQ(entry(masked, Action::Reveal).label, "Reveal Secret");
    EXPECT_EQ(entry(masked, Action::Reveal).icon, "eye");
    const ClipMenu revealed(clipOf(5, ClipGroup::secret), {}, true, {});
    EXPECT_EQ(entry(revealed, Action::Reveal).label, "Hide Secret");
    EXPECT_EQ(entry(revealed, Action::Reveal).icon, "eye.slash");

    Clip web = clipOf(6);
    web.setSourceURL(QStringLiteral("https://www.example.org/page"));
    const ClipMenu kept(web, {}, false, {"web:example.org"});
    EXPECT_EQ(entry(kept, Action::StopKeepingSource).label, "Stop Keeping example.org in Sidebar");

    Clip tagged = clipOf(7);
    tagged.tagMask = ColorTags::bit(ColorTag::orange) | ColorTags::bit(ColorTag::gray);
    const ClipMenu tags(tagged, {}, false, {});
    QStringList tagLines;
    for (const MenuEntry &e : tags.tagEntries())
        tagLines << e.label + (e.checked ? "*" : "") + " " + e.icon;
    EXPECT_EQ(tagLines,
              (QStringList{"Red circle.fill", "Orange* checkmark.circle.fill", "Yellow circle.fill", "Green circle.fill",
                           "Blue circle.fill", "Purple circle.fill", "Gray* checkmark.circle.fill"}));
}

TEST(ClipMenuDispatch, EachEntryCallsItsOperation)
{
    Clip clip = clipOf(2);
    clip.setSourceBundleID(QStringLiteral("org.gnome.TextEditor"));
    const ClipMenu multi(clip, threeSelected, false, {"org.gnome.TextEditor"});
    RecordingActions actions;
    for (const MenuEntry &e : multi.entries())
        multi.perform(e, actions);
    multi.perform(multi.tagEntries()[4], actions);
    EXPECT_EQ(actions.calls,
              (QStringList{"copyClips 1,2,3", "togglePin 2", "addToStack 1,2,3", "unkeepSource org.gnome.TextEditor",
                           "deleteClips 1,2,3", "toggleTag Blue 2"}));

    const ClipMenu single(clipOf(8, ClipGroup::secret), {}, false, {});
    actions.calls.clear();
    for (const MenuEntry &e : single.entries())
        single.perform(e, actions);
    EXPECT_EQ(actions.calls, (QStringList{"copy 8 0", "copy 8 1", "togglePin 8", "addToStack 8", "reveal 8", "delete 8"}));
}
