#include "FakeHttpClient.h"
#include "ImageTools.h"
#include "LocalHttpServer.h"
#include "NetworkHttpClient.h"
#include "PreviewPipeline.h"
#include "QtPrinters.h"
#include "TestApplication.h"

#include <QElapsedTimer>
#include <QImage>
#include <QNetworkAccessManager>
#include <QTest>

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

QByteArray png(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return *pngData(image);
}

/** Runs one pipeline to its end (or `timeoutMs`); `finished` tells whether it reported. */
struct PipelineRun {
    std::optional<LinkPreview> preview;
    bool finished = false;
};

PipelineRun runPipeline(HttpClient &http, const ServiceHosts &hosts, const QUrl &url, int timeoutMs = 5000,
                        PreviewPipeline::SiteIconFetch icons = {}, int iconDeadlineMs = PreviewPipeline::siteIconDeadlineMs)
{
    ensureGuiApplication();
    PipelineRun run;
    PreviewPipeline pipeline(hosts, http, std::move(icons));
    pipeline.setSiteIconDeadline(iconDeadlineMs);
    pipeline.run(url, [&run](std::optional<LinkPreview> preview) {
        run.preview = std::move(preview);
        run.finished = true;
    });
    (void)QTest::qWaitFor([&run] { return run.finished; }, timeoutMs);
    return run;
}

ServiceHosts hostsAt(int port)
{
    ServiceHosts hosts;
    const ServiceEndpoint local{QStringLiteral("http"), QStringLiteral("127.0.0.1"), port};
    hosts.appStoreLookup = local;
    hosts.videoWeb = local;
    hosts.secondVideoWeb = local;
    return hosts;
}

TEST(PipelineOrder, FailedAppStoreLookupIsFinal)
{
    FakeHttpClient http;
    const PipelineRun run
        = runPipeline(http, ServiceHosts{}, QUrl(QStringLiteral("https://apps.apple.com/us/app/x/id123456789")));
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.preview, std::nullopt);
    EXPECT_EQ(http.requested, QStringList{QStringLiteral("https://itunes.apple.com/lookup?id=123456789")});
}

TEST(PipelineOrder, AppStoreLookupGivesAPreviewEvenWhenTheArtworkFails)
{
    FakeHttpClient http;
    http.answer(QStringLiteral("https://itunes.apple.com/lookup?id=123456789"),
                R"({"results":[{"trackName":"Notes","sellerName":"Acme","artworkUrl512":"https://cdn.example/a.png"}]})",
                "application/json");
    const PipelineRun run = runPipeline(http, ServiceHosts{}, QUrl(QStringLiteral("https://apps.apple.com/app/id123456789")));
    ASSERT_TRUE(run.preview);
    EXPECT_EQ(run.preview->title, QStringLiteral("Notes"));
    EXPECT_EQ(run.preview->siteName, QStringLiteral("App Store · Acme"));
    EXPECT_FALSE(run.preview->hasIcon());
    EXPECT_EQ(http.requested.last(), QStringLiteral("https://cdn.example/a.png"));
}

TEST(PipelineOrder, OEmbedWithoutTitleOrThumbnailFallsThroughToThePage)
{
    FakeHttpClient http;
    const QString page = QStringLiteral("https://vimeo.com/42");
    http.answer(QStringLiteral("https://vimeo.com/api/oembed.json?url=https%3A%2F%2Fvimeo.com%2F42"), "{}", "application/json");
    http.answer(page, "<title>The page</title>");
    const PipelineRun run = runPipeline(http, ServiceHosts{}, QUrl(page));
    ASSERT_TRUE(run.preview);
    EXPECT_EQ(run.preview->title, QStringLiteral("The page"));
    EXPECT_EQ(http.requested.size(), 2);
}

TEST(PipelineOrder, OEmbedThumbnailAloneIsAPreviewAndPicturesAreKeptSmall)
{
    FakeHttpClient http;
    const QString page = QStringLiteral("https://youtu.be/abc");
    http.answer(QStringLiteral("https://www.youtube.com/oembed?format=json&url=https%3A%2F%2Fyoutu.be%2Fabc"),
                R"({"thumbnail_url":"https://i.example/t.png"})", "application/json");
    http.answer(QStringLiteral("https://i.example/t.png"), png(1600, 900), "image/png");
    const QImage bigIcon(256, 256, QImage::Format_RGB32);
    const PipelineRun run = runPipeline(http, ServiceHosts{}, QUrl(page), 5000,
                                        [&bigIcon](const QString &host, const QString &scheme, QObject *, auto done) {
                                            EXPECT_EQ(scheme + QStringLiteral("://") + host, QStringLiteral("https://youtu.be"));
                                            done(bigIcon);
                                        });
    ASSERT_TRUE(run.preview);
    EXPECT_EQ(run.preview->title, std::nullopt);
    EXPECT_EQ(run.preview->siteName, QStringLiteral("youtu.be"));
    EXPECT_EQ(QImage::fromData(run.preview->image).size(), QSize(800, 450));
    EXPECT_EQ(QImage::fromData(run.preview->icon).size(), QSize(64, 64));
    EXPECT_EQ(http.requested.size(), 2); // the page itself is never asked
}

TEST(PipelineOrder, ASiteIconThatNeverComesIsLeftOut)
{
    FakeHttpClient http;
    http.answer(QStringLiteral("https://example.com/"), "<title>Home</title>");
    const PipelineRun run = runPipeline(
        http, ServiceHosts{}, QUrl(QStringLiteral("https://example.com/")), 5000,
        [](const QString &, const QString &, QObject *, auto) {}, 50);
    ASSERT_TRUE(run.preview);
    EXPECT_EQ(run.preview->title, QStringLiteral("Home"));
    EXPECT_FALSE(run.preview->hasIcon());
}

TEST(PipelineOrder, ErrorPagesAndUntitledPagesAreNoPreview)
{
    FakeHttpClient http;
    http.answer(QStringLiteral("https://example.com/gone"), "<title>404 Not Found</title>", "text/html", 404);
    http.answer(QStringLiteral("https://example.com/bare"), "<p>nothing here</p>");
    http.answer(QStringLiteral("https://example.com/blank"), R"(<meta property="og:title" content="  "><title> </title>)");
    for (const char *path : {"gone", "bare", "blank"}) {
        const PipelineRun run
            = runPipeline(http, ServiceHosts{}, QUrl(QStringLiteral("https://example.com/") + QLatin1String(path)));
        EXPECT_TRUE(run.finished) << path;
        EXPECT_EQ(run.preview, std::nullopt) << path;
    }
}

TEST(PipelineOrder, PageImagesResolveAgainstThePageAndLocalSchemesAreNeverFetched)
{
    FakeHttpClient http;
    http.answer(QStringLiteral("https://example.com/a/page"),
                R"(<meta content="Shared" property="og:title"><meta property="og:image" content="../img.png">)"
                R"(<meta property="og:site_name" content="Example">)");
    http.answer(QStringLiteral("https://example.com/img.png"), png(40, 20), "image/png");
    PipelineRun run = runPipeline(http, ServiceHosts{}, QUrl(QStringLiteral("https://example.com/a/page")));
    ASSERT_TRUE(run.preview);
    EXPECT_EQ(run.preview->title, QStringLiteral("Shared"));
    EXPECT_EQ(run.preview->siteName, QStringLiteral("Example"));
    EXPECT_EQ(QImage::fromData(run.preview->image).size(), QSize(40, 20));

    http.answer(QStringLiteral("https://example.com/local"),
                R"(<title>Local</title><meta property="og:image" content="file:///dev/zero">)");
    run = runPipeline(http, ServiceHosts{}, QUrl(QStringLiteral("https://example.com/local")));
    ASSERT_TRUE(run.preview);
    EXPECT_FALSE(run.preview->hasImage());
    EXPECT_FALSE(http.requested.contains(QStringLiteral("file:///dev/zero")));
}

// Against a real server on 127.0.0.1: the network client's caps, deadline and redirects.
class CappedHttp : public ::testing::Test
{
protected:
    PipelineRun fetch(const QString &path, int timeoutMs = 8000)
    {
        return runPipeline(client, hostsAt(server.port()),
                           QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(server.port()).arg(path)), timeoutMs);
    }

    // The server and the network need the application object first.
    bool applicationReady = (ensureGuiApplication(), true);
    LocalHttpServer server;
    QNetworkAccessManager network;
    NetworkHttpClient client{&network, 1500};
};

TEST_F(CappedHttp, PagesInBothAttributeOrdersRedirectsAndImageAnswers)
{
    server.route(QStringLiteral("/page"),
                 R"(<meta content="Two" property="og:title"><meta property="og:image" content="/p.png">)");
    server.route(QStringLiteral("/p.png"), png(30, 10), "image/png");
    server.redirect(QStringLiteral("/r1"), "/r2");
    server.redirect(QStringLiteral("/r2"), "/page");
    PipelineRun run = fetch(QStringLiteral("/r1"));
    ASSERT_TRUE(run.preview);
    EXPECT_EQ(run.preview->title, QStringLiteral("Two"));
    EXPECT_EQ(QImage::fromData(run.preview->image).size(), QSize(30, 10));

    run = fetch(QStringLiteral("/p.png")); // a link straight to a picture
    ASSERT_TRUE(run.preview);
    EXPECT_EQ(run.preview->title, std::nullopt);
    EXPECT_TRUE(run.preview->hasImage());

    for (int i = 0; i < 7; ++i)
        server.redirect(QStringLiteral("/loop%1").arg(i), QStringLiteral("/loop%1").arg(i + 1).toLatin1());
    server.route(QStringLiteral("/loop7"), "<title>Too far</title>");
    run = fetch(QStringLiteral("/loop0"));
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.preview, std::nullopt);

    run = fetch(QStringLiteral("/missing")); // the server's 404 page
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.preview, std::nullopt);
}

TEST_F(CappedHttp, EndlessBodiesAreCutAndTricklesEndAtTheDeadline)
{
    server.stream(QStringLiteral("/endless"), "text/html", "<title>Endless</title>" + QByteArray(64 * 1024, ' '), 1);
    server.stream(QStringLiteral("/endless.png"), "image/png", QByteArray(64 * 1024, 'x'), 1);
    server.stream(QStringLiteral("/trickle"), "text/html", "<", 100);

    QElapsedTimer timer;
    timer.start();
    PipelineRun run = fetch(QStringLiteral("/endless"));
    ASSERT_TRUE(run.preview); // the first 400,000 bytes are read
    EXPECT_EQ(run.preview->title, QStringLiteral("Endless"));

    run = fetch(QStringLiteral("/endless.png"));
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.preview, std::nullopt);

    timer.restart();
    run = fetch(QStringLiteral("/trickle"));
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.preview, std::nullopt);
    EXPECT_LT(timer.elapsed(), 4000);
}

TEST_F(CappedHttp, AppStoreLookupWithArtwork)
{
    server.route(QStringLiteral("/lookup?id=123456789"),
                 QStringLiteral(R"({"results":[{"trackName":"Notes","artworkUrl100":"http://127.0.0.1:%1/art.png"}]})")
                     .arg(server.port())
                     .toUtf8(),
                 "application/json");
    server.route(QStringLiteral("/art.png"), png(100, 100), "image/png");
    const PipelineRun run
        = runPipeline(client, hostsAt(server.port()), QUrl(QStringLiteral("https://apps.apple.com/app/id123456789")));
    ASSERT_TRUE(run.preview);
    EXPECT_EQ(run.preview->title, QStringLiteral("Notes"));
    EXPECT_EQ(run.preview->siteName, QStringLiteral("App Store"));
    EXPECT_EQ(QImage::fromData(run.preview->icon).size(), QSize(64, 64));
}

} // namespace
} // namespace corvane::test
