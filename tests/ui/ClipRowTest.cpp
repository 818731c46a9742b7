#include "ClipListController.h"
#include "RowPresenter.h"
#include "StoreFixture.h"
#include "TagText.h"

#include <cmath>
#include <limits>

using namespace corvane;
using namespace corvane::RowPresenter;

namespace {

Clip clipOf(ClipGroup group, const QString &text = QStringLiteral("hello"))
{
    Clip clip;
    clip.id = 7;
    clip.group = group;
    clip.setText(text);
    clip.textLength = text.size();
    return clip;
}

} // namespace

TEST(ClipRowLeadingPicture, ThumbnailWidthFollowsTheAspectWithinItsBounds)
{
    EXPECT_EQ(thumbnailWidth(QSize(2000, 100), {}), 120);
    EXPECT_EQ(thumbnailWidth(QSize(100, 1000), {}), 48);
    EXPECT_EQ(thumbnailWidth(QSize(500, 500), {}), 96);
    EXPECT_EQ(thumbnailWidth(QSize(50, 100), {}), 48); // exactly 0.5 is narrow
    EXPECT_EQ(thumbnailWidth(QSize(125, 100), {}), 120);
    EXPECT_EQ(thumbnailWidth(QSize(100, 0), {}), 96);         // no height
    EXPECT_EQ(thumbnailWidth(QSize(), QSize(300, 100)), 120); // the thumbnail's own size stands in
    EXPECT_EQ(thumbnailWidth(QSize(), QSize(30, 100)), 48);
}

TEST(ClipRowLeadingPicture, AppClipsTakeTheBadgeImagesTheirThumbnailTheRestTheirVisual)
{
    Clip store = clipOf(ClipGroup::link, QStringLiteral("https://apps.apple.com/app/x/id123456789"));
    EXPECT_EQ(leading(store), Leading::appBadge);
    EXPECT_TRUE(loadsAppCard(store));
    Clip entry = clipOf(ClipGroup::file, QStringLiteral("/usr/share/applications/org.gnome.Maps.desktop"));
    EXPECT_EQ(leading(entry), Leading::appBadge);
    EXPECT_FALSE(loadsAppCard(entry)); // only App Store links ask the preview service
    Clip image = clipOf(ClipGroup::image, QString());
    EXPECT_EQ(leading(image), Leading::visual); // no thumbnail
    image.thumbnailPng = QByteArray("png");
    EXPECT_EQ(leading(image), Leading::thumbnail);
    EXPECT_EQ(leading(clipOf(ClipGroup::link, QStringLiteral("https://example.com"))), Leading::visual);
}

TEST(ClipRowTitleCaption, AppNameNoteSecretAndSummaries)
{
    const AppCardInfo card{std::nullopt, QStringLiteral("Maps")};
    Clip link = clipOf(ClipGroup::link, QStringLiteral("https://apps.apple.com/app/x/id123456789"));
    EXPECT_EQ(title(link, false, false, card), "Maps");
    EXPECT_EQ(title(link, false, false, AppCardInfo{}), link.preview()); // no name yet
    link.note = QStringLiteral("my note");
    EXPECT_EQ(title(link, false, false, card), "my note"); // a note beats the app name
    link.note = QString();
    EXPECT_EQ(title(link, false, false, card), "Maps"); // an empty note is no note

    Clip secret = clipOf(ClipGroup::secret, QStringLiteral("hunter2hunter2"));
    EXPECT_NE(title(secret, false, false, card), "Maps");
    EXPECT_NE(title(secret, false, false, card), "hunter2hunter2");
    EXPECT_EQ(title(secret, true, false, card), secret.preview());

    Clip text = clipOf(ClipGroup::text);
    text.smartTitle = QStringLiteral("Smart");
    EXPECT_EQ(title(text, false, false, std::nullopt), "hello");
    EXPECT_EQ(title(text, false, true, std::nullopt), "Smart");

    text.summary = QStringLiteral("A greeting");
    EXPECT_EQ(caption(text, true).text, "A greeting");
    EXPECT_TRUE(caption(text, true).isSummary);
    const Caption off = caption(text, false);
    EXPECT_FALSE(off.isSummary);
    EXPECT_EQ(off.groupName, "Text");
    EXPECT_EQ(off.text, "5 characters");
}

TEST(ClipRowTitleCaption, MonospacedGroupsAndLineLimits)
{
    for (ClipGroup group :
         {ClipGroup::code, ClipGroup::color, ClipGroup::phone, ClipGroup::secret, ClipGroup::file, ClipGroup::number}) {
        EXPECT_TRUE(monospacedTitle(group));
        EXPECT_EQ(titleLines(group), 1);
    }
    EXPECT_FALSE(monospacedTitle(ClipGroup::image));
    EXPECT_EQ(titleLines(ClipGroup::image), 1);
    EXPECT_EQ(titleLines(ClipGroup::link), 2);
    EXPECT_EQ(titleLines(ClipGroup::text), 2);
}

TEST(TagPickerChips, SevenChipsInTagOrderWithTheirState)
{
    const QVariantList chips = TagText::pickerChips({QVariant(3.0), QVariant(0)}); // QML hands numbers as doubles
    ASSERT_EQ(chips.size(), 7);
    const QVariantMap red = chips[0].toMap();
    EXPECT_EQ(red["tag"].toInt(), 0);
    EXPECT_TRUE(red["on"].toBool());
    EXPECT_EQ(red["help"].toString(), "Remove Red tag");
    EXPECT_EQ(red["accessibleName"].toString(), "Red tag");
    EXPECT_TRUE(chips[3].toMap()["on"].toBool());
    EXPECT_EQ(chips[1].toMap()["help"].toString(), "Add Orange tag");
    EXPECT_EQ(chips[6].toMap()["accessibleName"].toString(), "Gray tag");
}

class ClipRowDragSet : public test::StoreFixture
{ };

TEST_F(ClipRowDragSet, AMultipleSelectionDragsTogetherInListOrderAndTheRestAlone)
{
    const QList<std::int64_t> ids = addMany(8);
    ClipListController controller;
    controller.setStore(store.get());
    store->select(ids[1]);
    store->select(ids[5], false, true); // rows 1-5
    const QVariantList five = controller.dragIds(ids[3]);
    ASSERT_EQ(five.size(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(five[i].toLongLong(), ids[i + 1]);
    EXPECT_EQ(controller.dragIds(ids[7]), QVariantList{qint64(ids[7])}); // outside the selection

    // A search that hides part of the selection: the drag, the count line and the keys agree.
    store->setSearchText(QStringLiteral("clip 1"));
    EXPECT_EQ(controller.dragIds(ids[1]), QVariantList{qint64(ids[1])});
    EXPECT_EQ(controller.countLine(), "1 item");
}

class ClipRowAppCards : public test::StoreFixture
{ };

TEST_F(ClipRowAppCards, AnAppStoreRowAsksForItsCardAndShowsItWhenItArrives)
{
    const auto link = add(ClipGroup::link, QStringLiteral("https://apps.apple.com/us/app/things-3/id904237743"), 5);
    const auto text = add(ClipGroup::text, QStringLiteral("plain"), 4);
    store->reload();
    std::optional<AppCardInfo> arrived;
    QList<std::int64_t> asked;
    ClipRowRules &rules = ClipRowRules::instance();
    rules.setAppCardSource({[&](const Clip &) { return arrived; }, [&](const Clip &clip) { asked << clip.id; }});

    rules.loadCard(store.get(), link);
    rules.loadCard(store.get(), text); // not an app clip: nothing to load
    EXPECT_EQ(asked, QList<std::int64_t>{link});
    QVariantMap row = rules.present(store.get(), link, false, rules.cardsRevision());
    EXPECT_EQ(row["leading"].toString(), "app");
    EXPECT_EQ(row["appIcon"].toString(), "");
    EXPECT_TRUE(row["title"].toString().startsWith("https://apps.apple.com")); // its own title meanwhile

    arrived = AppCardInfo{QStringLiteral("image://linkpreview/icon"), QStringLiteral("Things 3")};
    rules.notifyCardsChanged();
    row = rules.present(store.get(), link, false, rules.cardsRevision());
    EXPECT_EQ(row["title"].toString(), "Things 3");
    EXPECT_EQ(row["appIcon"].toString(), "image://linkpreview/icon");
    EXPECT_EQ(rules.present(store.get(), text, false, 0)["leading"].toString(), "visual");
    rules.setAppCardSource({});
}
