#include "ImageTools.h"
#include "LocalHttpServer.h"
#include "QtPrinters.h"
#include "SiteIconFetcher.h"
#include "TestApplication.h"
#include "fakes/FakeDesktopEntries.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

QImage filled(int width, int height, QImage::Format format = QImage::Format_ARGB32)
{
    QImage image(width, height, format);
    image.fill(Qt::red);
    return image;
}

TEST(ImageTools, PngRoundTripAndDownscaleNeverEnlarges)
{
    EXPECT_EQ(pngData(QImage()), std::nullopt);
    const auto png = pngData(filled(30, 20));
    ASSERT_TRUE(png);
    EXPECT_EQ(QImage::fromData(*png, "PNG").size(), QSize(30, 20));

    EXPECT_EQ(downscaled(filled(400, 200), 100)->size(), QSize(100, 50));
    EXPECT_EQ(downscaled(filled(150, 300), 100)->size(), QSize(50, 100));
    EXPECT_EQ(downscaled(filled(50, 20), 100)->size(), QSize(50, 20));
    EXPECT_EQ(downscaled(QImage(), 100), std::nullopt);
    EXPECT_EQ(downscaled(filled(10, 10), 0), std::nullopt);
}

TEST(ImageTools, AppIconOnlyForInstalledApps)
{
    FakeDesktopEntries entries;
    DesktopEntry gedit;
    gedit.id = QStringLiteral("org.gnome.gedit");
    gedit.name = QStringLiteral("Text Editor");
    entries.add(gedit, filled(64, 64));
    EXPECT_EQ(appIcon(entries, QStringLiteral("org.gnome.gedit"))->size(), QSize(64, 64));
    EXPECT_EQ(appIcon(entries, QStringLiteral("not.installed")), std::nullopt);
    EXPECT_EQ(appIcon(entries, QString()), std::nullopt);
}

TEST(ImageTools, UntrustedImagesAreDecodedWithinLimits)
{
    EXPECT_TRUE(decodeUntrustedImage(*pngData(filled(16, 16))));
    EXPECT_EQ(decodeUntrustedImage("not an image"), std::nullopt);
    EXPECT_EQ(decodeUntrustedImage(QByteArray(2 * 1024 * 1024, 'x')), std::nullopt);
    // A tiny file that claims a huge canvas is refused before it is decoded.
    const auto bomb = pngData(filled(6000, 6000, QImage::Format_Mono));
    ASSERT_TRUE(bomb);
    ASSERT_LT(bomb->size(), 1024 * 1024);
    EXPECT_EQ(decodeUntrustedImage(*bomb), std::nullopt);
}

TEST(SiteIcon, OnlyBareHostsOverHttpOrHttps)
{
    const struct {
        QString host;
        QString scheme;
        std::optional<QString> origin;
    } cases[] = {
        {QStringLiteral("example.com"), QStringLiteral("https"), QStringLiteral("https://example.com")},
        {QStringLiteral("Example.COM"), QStringLiteral("HTTP"), QStringLiteral("http://example.com")},
        {QStringLiteral("example.com"), QStringLiteral("ftp"), std::nullopt},
        {QStringLiteral("example.com"), QStringLiteral("file"), std::nullopt},
        {QStringLiteral("user@example.com"), QStringLiteral("https"), std::nullopt},
        {QStringLiteral("example.com/path"), QStringLiteral("https"), std::nullopt},
        {QStringLiteral("example.com:8080"), QStringLiteral("https"), std::nullopt},
        {QStringLiteral("exa mple.com"), QStringLiteral("https"), std::nullopt},
        {QString(), QStringLiteral("https"), std::nullopt},
    };
    for (const auto &c : cases) {
        const auto url = SiteIconFetcher::originURL(c.host, c.scheme);
        EXPECT_EQ(url ? std::optional(url->toString()) : std::nullopt, c.origin) << c.host.toStdString();
    }
}

TEST(SiteIcon, IconLinksOfAPage)
{
    const QUrl page(QStringLiteral("https://example.com/"));
    const struct {
        QByteArray html;
        std::optional<QString> link;
    } cases[] = {
        {R"h(<link rel="stylesheet" href="/a.css"><link rel="shortcut icon" href="/fav.ico">)h",
         QStringLiteral("https://example.com/fav.ico")},
        {"<LINK HREF='img/i.png' REL='Icon'>", QStringLiteral("https://example.com/img/i.png")},
        {R"h(<link rel=apple-touch-icon href=//cdn.example.net/t.png>)h", QStringLiteral("https://cdn.example.net/t.png")},
        {R"h(<link rel="icon" href="javascript:alert(1)">)h", std::nullopt},
        {R"h(<link rel="icon" href="/i.png?a=1&amp;b=2">)h", QStringLiteral("https://example.com/i.png?a=1&b=2")},
        {"<p>no links</p>", std::nullopt},
    };
    for (const auto &c : cases) {
        const auto link = iconLink(c.html, page);
        EXPECT_EQ(link ? std::optional(link->toString()) : std::nullopt, c.link) << c.html.toStdString();
    }
}

class SiteIconFetch : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ensureGuiApplication(); }

    std::optional<QImage> fetch(const QString &host, const QString &scheme = QStringLiteral("http"))
    {
        SiteIconFetcher fetcher(&network, nullptr, server.port());
        std::optional<QImage> result;
        bool finished = false;
        QEventLoop loop;
        fetcher.fetchSiteIcon(host, scheme, [&](std::optional<QImage> image) {
            result = image;
            finished = true;
            loop.quit();
        });
        EXPECT_FALSE(finished) << "the answer must come asynchronously";
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        EXPECT_TRUE(finished);
        return result;
    }

    QNetworkAccessManager network;
    LocalHttpServer server;
};

TEST_F(SiteIconFetch, FaviconFirst)
{
    server.route(QStringLiteral("/favicon.ico"), *pngData(filled(32, 32)), "image/x-icon");
    EXPECT_EQ(fetch(QStringLiteral("127.0.0.1"))->size(), QSize(32, 32));
    EXPECT_EQ(server.requested(), QStringList{QStringLiteral("/favicon.ico")});
}

TEST_F(SiteIconFetch, FallsBackToThePagesIconLink)
{
    server.route(QStringLiteral("/"), R"h(<html><head><link rel="icon" href="/static/i.png"></head></html>)h");
    server.route(QStringLiteral("/static/i.png"), *pngData(filled(48, 48)), "image/png");
    EXPECT_EQ(fetch(QStringLiteral("127.0.0.1"))->size(), QSize(48, 48));
}

TEST_F(SiteIconFetch, OversizedDownloadsAndBadInputGiveNothing)
{
    server.route(QStringLiteral("/favicon.ico"), QByteArray(2 * 1024 * 1024, 'x'), "image/x-icon");
    EXPECT_EQ(fetch(QStringLiteral("127.0.0.1")), std::nullopt);
    EXPECT_EQ(fetch(QStringLiteral("127.0.0.1"), QStringLiteral("ftp")), std::nullopt);
    EXPECT_EQ(fetch(QStringLiteral("user@127.0.0.1")), std::nullopt);
}

} // namespace
} // namespace corvane::test
