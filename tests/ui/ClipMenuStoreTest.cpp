#include "ClipMenuModel.h"
#include "StoreFixture.h"

using namespace corvane;
using namespace corvane::test;

namespace {

class ClipMenuStoreTest : public StoreFixture
{
protected:
    int rowOf(const QString &label)
    {
        for (int i = 0; i < model.entries()->rowCount(); ++i) {
            if (model.entries()->data(model.entries()->index(i), ClipMenuEntries::LabelRole).toString() == label)
                return i;
        }
        ADD_FAILURE() << "no entry " << label.toStdString();
        return -1;
    }
    ClipMenuModel model;
};

} // namespace

TEST_F(ClipMenuStoreTest, StopKeepingLeavesTheSourceNeitherKeptNorHidden)
{
    const auto id = add(ClipGroup::text, "from the editor", 5, "org.gnome.TextEditor");
    store->reload();
    model.setStore(store.get());
    ASSERT_TRUE(model.build(id));
    model.perform(rowOf("Keep org.gnome.TextEditor in Sidebar"));
    EXPECT_EQ(settings->keptSources(), QStringList{"org.gnome.TextEditor"});

    ASSERT_TRUE(model.build(id));
    model.perform(rowOf("Stop Keeping org.gnome.TextEditor in Sidebar"));
    EXPECT_TRUE(settings->keptSources().isEmpty());
    EXPECT_TRUE(settings->hiddenSources().isEmpty());
    settingsFile->sync();
    QSettings reread(settingsFile->fileName(), QSettings::IniFormat);
    EXPECT_TRUE(reread.value("hiddenSources").toStringList().isEmpty());
    EXPECT_TRUE(reread.value("keptSources").toStringList().isEmpty());
}

TEST_F(ClipMenuStoreTest, MultiDeleteUsesTheSelectionTakenAtOpening)
{
    const auto ids = addMany(4);
    model.setStore(store.get());
    store->select(ids.at(0));
    store->select(ids.at(1), true);
    store->select(ids.at(2), true);
    ASSERT_TRUE(model.build(ids.at(1)));
    const int row = rowOf("Delete 3 Clips");
    store->select(ids.at(3), true); // the selection grows while the menu is open
    model.perform(row);
    EXPECT_EQ(store->clipCount(), 1);
    EXPECT_TRUE(store->clip(ids.at(3)));
}

TEST_F(ClipMenuStoreTest, PinUnderMultiActsOnTheClickedClip)
{
    const auto ids = addMany(3);
    model.setStore(store.get());
    store->select(ids.at(0));
    store->select(ids.at(1), true);
    ASSERT_TRUE(model.build(ids.at(1)));
    model.perform(rowOf("Pin"));
    EXPECT_TRUE(store->clip(ids.at(1))->isPinned);
    EXPECT_FALSE(store->clip(ids.at(0))->isPinned);
    EXPECT_FALSE(model.build(999)) << "an unknown clip opens no menu";
}
