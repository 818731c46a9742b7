#include "AppSettings.h"
#include "SourcePickerModel.h"
#include "SourceRules.h"
#include "StoreFixture.h"

using namespace corvane;

namespace {

QStringList namesOf(const QList<SourceApp> &sources)
{
    QStringList names;
    for (const SourceApp &s : sources)
        names << s.name;
    return names;
}

QStringList pickerNames(const SourcePickerModel &picker)
{
    QStringList names;
    for (const SourcePickerRow &row : picker.rows())
        names << row.name;
    return names;
}

} // namespace

TEST(SourceRules, FilterSources)
{
    const QList<SourceApp> ranked{{"org.mozilla.firefox", "Firefox", 9},
                                  {"web:safari.example", "safari.example", 5},
                                  {"org.gnome.TextEditor", "Text Editor", 4},
                                  {"web:docs.example.org", "docs.example.org", 2}};
    EXPECT_EQ(namesOf(SourceRules::filterSources(ranked, "", true)), namesOf(ranked));
    EXPECT_EQ(namesOf(SourceRules::filterSources(ranked, "SAF", true)), QStringList{"safari.example"});
    EXPECT_EQ(namesOf(SourceRules::filterSources(ranked, " ", true)), QStringList{"Text Editor"});
    EXPECT_TRUE(SourceRules::filterSources(ranked, "zzz", true).isEmpty());
    EXPECT_TRUE(SourceRules::filterSources(ranked, "web:", true).isEmpty()); // keys are not names
    EXPECT_TRUE(SourceRules::filterSources(ranked, "mozilla", true).isEmpty());
    EXPECT_EQ(namesOf(SourceRules::filterSources(ranked, "zzz", false)), namesOf(ranked));

    EXPECT_FALSE(SourceRules::filterFieldVisible(15));
    EXPECT_TRUE(SourceRules::filterFieldVisible(16));
}

namespace {

class SourcePickerTest : public test::StoreFixture
{
protected:
    /** Sources "Source 0" ... ranked in that order; returns each one's clip ids. */
    QList<QList<std::int64_t>> addSources(int count)
    {
        QList<QList<std::int64_t>> ids;
        for (int s = 0; s < count; ++s) {
            ids.append(QList<std::int64_t>{});
            for (int i = 0; i < 2; ++i)
                ids.back() << add(ClipGroup::text, QStringLiteral("%1-%2").arg(s).arg(i), 60.0 * s + i,
                                  QStringLiteral("Source %1").arg(s));
        }
        store->reload();
        return ids;
    }

    /** The lists as a fresh start reads them back from the settings file. */
    std::pair<QStringList, QStringList> persisted()
    {
        settingsFile->sync();
        QSettings reread(settingsFile->fileName(), QSettings::IniFormat);
        AppSettings again(&reread, &loginItem);
        return {again.keptSources(), again.hiddenSources()};
    }

    SourcePickerModel picker;
};

} // namespace

TEST_F(SourcePickerTest, QueryFiltersOnlyWhileItsFieldIsShown)
{
    const auto ids = addSources(16);
    picker.setStore(store.get());
    EXPECT_TRUE(picker.filterFieldVisible());
    EXPECT_EQ(picker.count(), 16);
    picker.setQuery("source 1");
    EXPECT_EQ(pickerNames(picker),
              (QStringList{"Source 1", "Source 10", "Source 11", "Source 12", "Source 13", "Source 14", "Source 15"}));
    picker.setQuery("no such app");
    EXPECT_EQ(picker.count(), 0);

    // Down to 15 sources the field goes; the text typed before must not keep hiding sources.
    store->deleteClips(ids.last());
    EXPECT_FALSE(picker.filterFieldVisible());
    EXPECT_EQ(picker.count(), 15);
    EXPECT_EQ(picker.query(), "no such app"); // kept for when the field returns
}

TEST_F(SourcePickerTest, KeepAndHideTogglesMoveKeysBetweenTheLists)
{
    addSources(3);
    picker.setStore(store.get());
    const QString a = "Source 0", b = "Source 1";

    picker.toggleHidden(a);
    EXPECT_EQ(persisted(), std::make_pair(QStringList{}, QStringList{a}));
    EXPECT_TRUE(picker.rows()[0].isHidden);
    EXPECT_EQ(picker.data(picker.index(0), SourcePickerModel::HideHelpRole).toString(), "Show in sidebar");

    picker.toggleKept(a); // keeping a hidden source shows it again
    EXPECT_EQ(persisted(), std::make_pair(QStringList{a}, QStringList{}));
    picker.toggleHidden(a); // hiding a kept one stops keeping it
    EXPECT_EQ(persisted(), std::make_pair(QStringList{}, QStringList{a}));
    picker.toggleHidden(a);
    EXPECT_EQ(persisted(), std::make_pair(QStringList{}, QStringList{}));

    store->keepSource(b);
    store->keepSource(b);
    EXPECT_EQ(settings->keptSources(), QStringList{b});
    settings->setKeptSources({b, a, b});
    EXPECT_EQ(picker.data(picker.index(1), SourcePickerModel::KeepHelpRole).toString(), "Stop keeping in sidebar");
    picker.toggleKept(b);
    EXPECT_EQ(persisted(), std::make_pair(QStringList{a}, QStringList{}));

    // A hidden source can still be picked; the popover's pick shows its clips.
    picker.toggleHidden(b);
    picker.select(b);
    EXPECT_EQ(store->filter(), ClipFilter::app(b));
}
