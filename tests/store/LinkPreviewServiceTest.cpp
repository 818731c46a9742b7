#include "../engine/FakeHttpClient.h"
#include "FakeDesktopServices.h"
#include "ImageTools.h"
#include "LinkCard.h"
#include "LinkPreviewService.h"
#include "PreviewParsing.h"
#include "StoreFixture.h"

#include <QTest>

namespace corvane::test {
namespace {

const QString page = QStringLiteral("https://example.com/article");
const QString storeLink = QStringLiteral("https://apps.apple.com/us/app/notes/id123456789");
const QString lookup = QStringLiteral("https://itunes.apple.com/lookup?id=123456789");

QByteArray pngSized(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkMagenta);
    return *pngData(image);
}

class LinkPreviews : public StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        service = makeService();
    }

    std::unique_ptr<LinkPreviewService> makeService()
    {
        LinkPreviewService::Services services;
        services.http = &http;
        services.clock = &clock;
        services.desktop = &desktop;
        return std::make_unique<LinkPreviewService>(services);
    }

    std::int64_t addLink(const QString &text) { return addText(text, 0, ClipGroup::link); }
    void load(std::int64_t id) { service->loadPreview(id, store.get()); }
    bool settle(const QString &key)
    {
        return QTest::qWaitFor([&] { return !service->isLoading(key); }, 5000);
    }
    LinkCardState cardOf(std::int64_t id) { return decideLinkCard(*store->clip(id), *service); }

    FakeHttpClient http;
    FakeDesktopServices desktop;
    std::unique_ptr<LinkPreviewService> service;
};

TEST_F(LinkPreviews, FetchesOncePerTrimmedLinkAndOnlyForEnabledLinkClips)
{
    http.answer(page, "<title>Article</title>");
    const std::int64_t first = addLink(QStringLiteral(" ") + page + QStringLiteral("\n"));
    const std::int64_t second = addLink(page + QStringLiteral("  "));
    const std::int64_t plain = addText(page + QStringLiteral(" as text"));
    load(first);
    load(second);
    load(first);
    load(plain);
    EXPECT_EQ(cardOf(second).kind, LinkCardState::Kind::loading);
    ASSERT_TRUE(settle(page));
    EXPECT_EQ(http.requested, QStringList{page});
    EXPECT_EQ(service->preview(page)->title, QStringLiteral("Article"));

    settings->setInternetPreviewsEnabled(false);
    const std::int64_t other = addLink(QStringLiteral("https://example.com/other"));
    load(other);
    EXPECT_EQ(http.requested.size(), 1);
    EXPECT_EQ(cardOf(other).kind, LinkCardState::Kind::none);
    EXPECT_EQ(cardOf(first).kind, LinkCardState::Kind::preview); // kept in memory
}

TEST_F(LinkPreviews, CachedPreviewsShowInTheNextRunWithoutARequest)
{
    http.answer(page, R"(<meta property="og:title" content="Stored"><meta property="og:image" content="/i.png">)");
    http.answer(QStringLiteral("https://example.com/i.png"), pngSized(2000, 1000), "image/png");
    const std::int64_t id = addLink(page);
    load(id);
    ASSERT_TRUE(settle(page));
    const auto fetched = service->preview(page);
    ASSERT_TRUE(fetched && fetched->hasImage());
    // What memory keeps is what the database keeps: the picture at most 800 px.
    EXPECT_EQ(QImage::fromData(fetched->image).size(), QSize(800, 400));
    const auto row = store->database()->linkPreview(page);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->image, fetched->image);

    // Next run: a new service, and a stored picture that no longer decodes counts as none.
    store->database()->saveLinkPreview({QStringLiteral("Stored"), std::nullopt, row->image, QByteArray("junk")}, page);
    service = makeService();
    http.requested.clear();
    load(id);
    EXPECT_TRUE(http.requested.isEmpty());
    const LinkCardState card = cardOf(id);
    EXPECT_EQ(card.kind, LinkCardState::Kind::preview);
    EXPECT_EQ(card.title, QStringLiteral("Stored"));
    EXPECT_EQ(card.siteName, QString());
    EXPECT_TRUE(card.hasImage);
    EXPECT_FALSE(card.hasIcon);
}

TEST_F(LinkPreviews, FailuresWaitThirtySecondsAndShowNoCard)
{
    const std::int64_t id = addLink(page);
    load(id);
    ASSERT_TRUE(settle(page));
    EXPECT_TRUE(service->hasFailed(page));
    EXPECT_EQ(cardOf(id).kind, LinkCardState::Kind::none);
    clock.advance(29'000);
    load(id);
    EXPECT_EQ(http.requested.size(), 1);
    clock.advance(2'000);
    load(id);
    EXPECT_EQ(http.requested.size(), 2);
    ASSERT_TRUE(settle(page));
}

TEST_F(LinkPreviews, AtMostFourFetchesRunAndTurningPreviewsOffAbortsThem)
{
    http.setHolding(true);
    QList<std::int64_t> ids;
    for (int i = 0; i < 6; ++i) {
        const QString url = QStringLiteral("https://example.com/%1").arg(i);
        http.answer(url, "<title>Page</title>");
        ids.append(addLink(url));
    }
    for (std::int64_t id : ids)
        load(id);
    EXPECT_EQ(http.requested.size(), 4);
    http.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return http.requested.size() == 6; }, 5000));

    settings->setInternetPreviewsEnabled(false);
    http.release(); // the answers arrive after the switch: dropped
    QTest::qWait(50);
    for (int i = 4; i < 6; ++i) {
        const QString url = QStringLiteral("https://example.com/%1").arg(i);
        EXPECT_FALSE(service->isLoading(url));
        EXPECT_EQ(service->preview(url), std::nullopt);
        EXPECT_EQ(store->database()->linkPreview(url), std::nullopt);
    }
}

TEST_F(LinkPreviews, PreviewsOfDeletedLinksAreForgotten)
{
    // A row left by a link deleted while nothing followed the store goes once the store is followed.
    const QString earlier = QStringLiteral("https://example.com/deleted-last-run");
    store->database()->saveLinkPreview({QStringLiteral("Old"), std::nullopt, std::nullopt, std::nullopt}, earlier);
    service->follow(*store);
    clock.advance(LinkPreviewService::sweepDelayMs);
    // The sweep asks the history on a worker thread.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !store->database()->linkPreview(earlier); }, 5000));

    http.answer(page, "<title>Gone soon</title>");
    const QString kept = QStringLiteral("https://example.com/kept");
    http.answer(kept, "<title>Kept</title>");
    const std::int64_t doomed = addLink(page);
    const std::int64_t stays = addLink(kept);
    load(doomed);
    load(stays);
    ASSERT_TRUE(settle(page) && settle(kept));
    // A new clip leaves every preview in place; a deleted one takes its own along.
    addLink(QStringLiteral("https://example.com/new"));
    clock.advance(LinkPreviewService::sweepDelayMs);
    QTest::qWait(50);
    EXPECT_TRUE(service->preview(page));
    // A link longer than the loaded prefix keeps the preview stored under its prefix.
    const QString longLink = QStringLiteral("https://example.com/?q=") + QString(3000, u'x');
    const std::int64_t longID = addLink(longLink);
    const QString longKey = LinkPreviewParsing::previewKey(*store->clip(longID));
    ASSERT_LT(longKey.size(), longLink.size());
    store->database()->saveLinkPreview({QStringLiteral("Long"), std::nullopt, std::nullopt, std::nullopt}, longKey);
    store->deleteClip(doomed);
    clock.advance(LinkPreviewService::sweepDelayMs);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !service->preview(page); }, 5000));
    EXPECT_EQ(store->database()->linkPreview(page), std::nullopt);
    EXPECT_TRUE(service->preview(kept));
    EXPECT_TRUE(store->database()->linkPreview(kept));
    EXPECT_TRUE(store->database()->linkPreview(longKey));
}

TEST_F(LinkPreviews, AppStoreLinksGetAnAppCardWithFallbacks)
{
    const std::int64_t id = addLink(storeLink);
    EXPECT_EQ(appCardInfo(*store->clip(id), *service), AppCardInfo{}); // not nothing: callers keep their title
    http.answer(lookup, R"({"results":[{}]})", "application/json");
    load(id);
    ASSERT_TRUE(settle(storeLink));
    LinkCardState card = cardOf(id);
    EXPECT_EQ(card.kind, LinkCardState::Kind::appCard);
    EXPECT_EQ(card.title, QStringLiteral("App"));
    EXPECT_EQ(card.siteName, QStringLiteral("App Store"));
    service->complete(storeLink, LinkPreview{QStringLiteral("Notes"), std::nullopt, {}, pngSized(8, 8)}, store.get());
    card = cardOf(id);
    EXPECT_EQ(card.title, QStringLiteral("Notes"));
    EXPECT_TRUE(card.hasIcon);
    const auto info = appCardInfo(*store->clip(id), *service);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->name, QStringLiteral("Notes"));
    EXPECT_TRUE(info->iconSource);

    service->openLink(service->card(id, store.get()).value(QStringLiteral("openURL")).toString());
    EXPECT_EQ(desktop.openedUrls(), QList<QUrl>{QUrl(QStringLiteral("https://apps.apple.com/app/id123456789"))});
    service->openLink(QStringLiteral("file:///etc/passwd"));
    EXPECT_EQ(desktop.openedUrls().size(), 1);
}

TEST_F(LinkPreviews, PreviewCardsFallBackToTheLinkAndPlayOnlyOverVideoPictures)
{
    const QString video = QStringLiteral("https://www.youtube.com/watch?v=1");
    const std::int64_t withPicture = addLink(video);
    const std::int64_t bare = addLink(page);
    service->complete(video, LinkPreview{QStringLiteral("A video"), QStringLiteral("YouTube"), pngSized(4, 3), {}}, store.get());
    service->complete(page, LinkPreview{}, store.get());
    EXPECT_TRUE(cardOf(withPicture).isVideo);
    const LinkCardState card = cardOf(bare);
    EXPECT_EQ(card.kind, LinkCardState::Kind::preview);
    EXPECT_EQ(card.title, page);
    EXPECT_FALSE(card.isVideo);
    EXPECT_EQ(card.openURL, QUrl(page));

    service->complete(video, LinkPreview{QStringLiteral("A video"), std::nullopt, {}, {}}, store.get());
    EXPECT_FALSE(cardOf(withPicture).isVideo);
}

TEST_F(LinkPreviews, ApplicationFilesAreNamedWithoutDotApp)
{
    const std::int64_t bundle = addText(QStringLiteral("/Applications/My.apple.app"), 0, ClipGroup::file);
    const auto info = appCardInfo(*store->clip(bundle), *service);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->name, QStringLiteral("Myle")); // every ".app" goes, as intended
    EXPECT_TRUE(info->iconSource);

    const QString entry = dir.filePath(QStringLiteral("org.example.Editor.desktop"));
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Desktop Entry]\nType=Application\nName=Example Editor\nExec=editor\n");
    file.close();
    const std::int64_t desktopFile = addText(entry, 0, ClipGroup::file);
    EXPECT_EQ(appCardInfo(*store->clip(desktopFile), *service)->name, QStringLiteral("Example Editor"));

    EXPECT_EQ(appCardInfo(*store->clip(addText(QStringLiteral("hello"))), *service), std::nullopt);
}

} // namespace
} // namespace corvane::test
