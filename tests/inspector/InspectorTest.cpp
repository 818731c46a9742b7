#include "InspectorRules.h"
#include "InspectorViewModel.h"

#include "ClipDatabase.h"
#include "InspectorFixture.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

Clip clipOf(ClipGroup group, std::optional<QString> text)
{
    Clip clip;
    clip.group = group;
    clip.setText(std::move(text));
    return clip;
}

} // namespace

TEST(TextStatistics, CountsGraphemesWordsAndEveryNewline)
{
    const struct {
        QString text;
        const char *expected;
    } cases[] = {
        {QStringLiteral("a b"), "3 chars · 2 words · 1 line"},
        {QString(), "0 chars · 0 words · 1 line"},
        {QStringLiteral("x"), "1 char · 1 word · 1 line"},
        {QStringLiteral("👍🏽"), "1 char · 1 word · 1 line"},
        {QStringLiteral("e\u0301"), "1 char · 1 word · 1 line"},
        {QStringLiteral("a\u00A0b"), "3 chars · 2 words · 1 line"},
        {QStringLiteral("a\u2028b"), "3 chars · 2 words · 2 lines"},
        // CR LF is one character but two line breaks, as the statistics are specified.
        {QStringLiteral("a\r\nb"), "3 chars · 2 words · 3 lines"},
        {QStringLiteral("one\n\ntwo  three\n"), "16 chars · 3 words · 4 lines"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(textStatistics(c.text, 0), QString::fromUtf8(c.expected)) << c.text.toStdString();
    EXPECT_EQ(textStatistics(std::nullopt, 1500), QStringLiteral("2 KB")) << "an image shows its size";
}

TEST(InspectorLayoutRules, CardsFollowTheKindOfClip)
{
    const QString store = QStringLiteral("https://apps.apple.com/app/example/id1234567890");
    InspectorLayout app = inspectorLayout(clipOf(ClipGroup::link, store), store, false);
    EXPECT_EQ(app.kindTitle, "App");
    EXPECT_TRUE(app.linkCard);
    EXPECT_FALSE(app.qrCode);
    EXPECT_TRUE(app.detailActions);

    const QString link = QStringLiteral("  https://example.com/a \n");
    InspectorLayout plain = inspectorLayout(clipOf(ClipGroup::link, link), link, false);
    EXPECT_EQ(plain.kindTitle, ClipGroups::displayName(ClipGroup::link));
    EXPECT_TRUE(plain.qrCode);
    EXPECT_EQ(plain.qrText, "https://example.com/a");

    const QString bundle = QStringLiteral("/opt/Example.app/");
    EXPECT_TRUE(inspectorLayout(clipOf(ClipGroup::file, bundle), bundle, true).appCard);
    InspectorLayout unknownApp = inspectorLayout(clipOf(ClipGroup::file, bundle), bundle, false);
    EXPECT_EQ(unknownApp.kindTitle, "App");
    EXPECT_FALSE(unknownApp.appCard);
    EXPECT_FALSE(unknownApp.detailActions) << "file clips get no detected details";

    const QString secret = QStringLiteral("hunter2 call 555-0100");
    EXPECT_FALSE(inspectorLayout(clipOf(ClipGroup::secret, secret), secret, false).detailActions);
    EXPECT_FALSE(inspectorLayout(clipOf(ClipGroup::image, std::nullopt), std::nullopt, false).detailActions);

    Clip summarised = clipOf(ClipGroup::text, QStringLiteral("x"));
    EXPECT_FALSE(inspectorLayout(summarised, summarised.text(), false).summaryCard);
    summarised.summary = QStringLiteral("short");
    EXPECT_TRUE(inspectorLayout(summarised, summarised.text(), false).summaryCard);
}

TEST(InspectorLayoutRules, SourceLineAndShareState)
{
    Clip web = clipOf(ClipGroup::text, QStringLiteral("x"));
    web.setSourceURL(QStringLiteral("https://www.example.com/page"));
    web.setSourceName(QStringLiteral("Firefox"));
    EXPECT_EQ(sourceLine(web), QStringLiteral("example.com · Firefox"));
    web.setSourceName(std::nullopt);
    EXPECT_EQ(sourceLine(web), QStringLiteral("example.com")) << "no dangling separator";
    EXPECT_EQ(sourceLine(clipOf(ClipGroup::text, QStringLiteral("x"))), QStringLiteral("Unknown"));

    EXPECT_EQ(shareState(ClipGroup::secret, false), (ShareState{false, QStringLiteral("Reveal the secret first to share it")}));
    const ShareState normal{true, QStringLiteral("Share by email or save to a file")};
    EXPECT_EQ(shareState(ClipGroup::secret, true), normal) << "a revealed secret reads the normal help";
    EXPECT_EQ(shareState(ClipGroup::link, false), normal);

    EXPECT_EQ(copiedDate(1741189320, QTimeZone::utc()), QStringLiteral("Mar 5, 2025 at 3:42 PM"));
}

class InspectorModel : public test::InspectorFixture
{
protected:
    void SetUp() override
    {
        InspectorFixture::SetUp();
        model = std::make_unique<InspectorViewModel>(clock, nullptr);
        model->setStore(store.get());
    }

    std::unique_ptr<InspectorViewModel> model;
};

TEST_F(InspectorModel, ShowsTheSelectedClipFromTheWholeHistory)
{
    const auto hidden = add(ClipGroup::text, QStringLiteral("needle in the history"), 60);
    add(ClipGroup::text, QStringLiteral("other"), 30);
    store->reload();
    EXPECT_FALSE(model->hasClip());

    store->select(hidden);
    store->setSearchText(QStringLiteral("other")); // filtered out of the list, still inspected
    ASSERT_TRUE(model->hasClip());
    EXPECT_EQ(model->clipId(), hidden);
    EXPECT_EQ(model->sizeText(), QStringLiteral("21 chars · 4 words · 1 line"));

    store->deleteClip(hidden);
    EXPECT_FALSE(model->hasClip()) << "a selected id no longer loaded shows the empty state";
}

TEST_F(InspectorModel, LongTextsAreCountedOffTheGuiThreadAndInFull)
{
    const QString longText = QStringLiteral("word ").repeated(InspectorViewModel::syncStatisticsLimit);
    const auto id = add(ClipGroup::text, longText, 10);
    store->reload();
    QSignalSpy counted(model.get(), &InspectorViewModel::sizeTextChanged);
    store->select(id);
    EXPECT_TRUE(model->sizeText().isEmpty()) << "not counted on the GUI thread";
    ASSERT_TRUE(counted.wait(5000));
    EXPECT_EQ(model->sizeText(), QStringLiteral("100000 chars · 20000 words · 1 line"));
}

TEST_F(InspectorModel, CopiedMarkRestartsOnEachCopyAndNeverFollowsAFailure)
{
    const auto text = add(ClipGroup::text, QStringLiteral("hello"), 10);
    const auto image = add(ClipGroup::image, QString(), 20); // no image data: the copy fails
    store->reload();
    store->select(text);

    EXPECT_TRUE(model->copy());
    EXPECT_TRUE(model->copied());
    clock.advance(1000);
    EXPECT_TRUE(model->copy()); // a second click restarts the one timer
    clock.advance(1000);
    EXPECT_TRUE(model->copied()) << "the first click's reset must not clear the second";
    clock.advance(400);
    EXPECT_FALSE(model->copied());

    const int writes = int(clipboard.writes().size());
    store->select(image);
    EXPECT_FALSE(model->copy());
    EXPECT_FALSE(model->copied());
    EXPECT_EQ(int(clipboard.writes().size()), writes) << "the clipboard is left as it was";
    EXPECT_EQ(store->notice()->kind, Notice::Kind::warning);
}

TEST_F(InspectorModel, SecretShareFollowsReveal)
{
    const auto secret = add(ClipGroup::secret, QStringLiteral("s3cret-token-value"), 10);
    store->reload();
    store->select(secret);
    EXPECT_FALSE(model->shareEnabled());
    EXPECT_FALSE(model->showsDetailActions());
    store->reveal(secret);
    EXPECT_TRUE(model->shareEnabled());
    EXPECT_EQ(model->shareHelp(), QStringLiteral("Share by email or save to a file"));
}
