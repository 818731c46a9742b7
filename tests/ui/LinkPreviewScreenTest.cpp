// The link cards drawn for real under Xvfb against a local web server: every state, clicks that
// open links, and screenshots for a person to look at.
#include "../engine/LocalHttpServer.h"
#include "AccessibilityAudit.h"
#include "DesignSetup.h"
#include "FakeDesktopServices.h"
#include "ImageTools.h"
#include "LinkPreviewService.h"
#include "NetworkHttpClient.h"
#include "SiteIconFetcher.h"
#include "StoreFixture.h"
#include "QuickItems.h"
#include "UiSetup.h"

#include <QDir>
#include <QLinearGradient>
#include <QNetworkAccessManager>
#include <QPainter>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickView>
#include <QTest>

using namespace corvane;

namespace {

QByteArray picture(int width, int height, QColor from, QColor to)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    painter.fillRect(image.rect(), gradient);
    painter.setPen(Qt::white);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), height / 8));
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("%1×%2").arg(width).arg(height));
    painter.end();
    return *pngData(image);
}

using test::findItem;

void save(QQuickView &view, const QString &name)
{
    QDir().mkpath(QStringLiteral(CORVANE_ARTIFACTS_DIR));
    EXPECT_TRUE(view.grabWindow().save(QStringLiteral(CORVANE_ARTIFACTS_DIR "/") + name));
}

class LinkPreviewScreen : public test::StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        const QByteArray base = QStringLiteral("http://127.0.0.1:%1").arg(server.port()).toLatin1();
        server.route(QStringLiteral("/article"),
                     R"(<html><head><meta property="og:title" content="Sunset over the harbour: a photo essay">)"
                     R"(<meta content="Harbour Times" property="og:site_name"><meta property="og:image" content="/hero.png">)"
                     "</head></html>");
        server.route(QStringLiteral("/hero.png"), picture(1200, 630, QColor(0xf2, 0x8c, 0x5a), QColor(0x5b, 0x3f, 0x8c)),
                     "image/png");
        server.route(QStringLiteral("/watch?v=42"),
                     R"(<title>Tides in four minutes</title><meta property="og:image" content="/thumb.png">)");
        server.route(QStringLiteral("/thumb.png"), picture(480, 360, QColor(0x1f, 0x6f, 0x8b), QColor(0x99, 0xd9, 0x8c)),
                     "image/png");
        server.route(QStringLiteral("/favicon.ico"), picture(32, 32, QColor(0xe0, 0x50, 0x40), QColor(0xe0, 0x50, 0x40)),
                     "image/png");
        server.route(QStringLiteral("/lookup?id=123456789"),
                     R"({"results":[{"trackName":"Harbour Notes","sellerName":"Tidewater Ltd","artworkUrl512":")" + base
                         + R"(/art.png"}]})",
                     "application/json");
        server.route(QStringLiteral("/art.png"), picture(512, 512, QColor(0x3b, 0x82, 0xf6), QColor(0x93, 0x33, 0xea)),
                     "image/png");
        server.stream(QStringLiteral("/slow"), "text/html", " ", 1000);
        server.route(QStringLiteral("/plain"),
                     R"(<meta property="og:title" content="&lt;b&gt;Bold&lt;/b&gt; <img src=x> isn't markup">)");

        LinkPreviewService::Services services;
        services.http = &http;
        services.clock = &clock;
        services.desktop = &desktop;
        services.hosts.appStoreLookup = {QStringLiteral("http"), QStringLiteral("127.0.0.1"), server.port()};
        services.hosts.videoDomain = QStringLiteral("127.0.0.1:%1").arg(server.port());
        services.siteIcons = [this](const QString &host, const QString &scheme, QObject *context, auto done) {
            icons.fetchSiteIcon(host, scheme, [context = QPointer<QObject>(context), done](std::optional<QImage> icon) {
                if (context)
                    done(icon.value_or(QImage()));
            });
        };
        service = std::make_unique<LinkPreviewService>(services);

        ids.insert(QStringLiteral("article"), qint64(add(ClipGroup::link, base + "/article", 10)));
        ids.insert(QStringLiteral("video"), qint64(add(ClipGroup::link, base + "/watch?v=42", 20)));
        ids.insert(QStringLiteral("app"),
                   qint64(add(ClipGroup::link, QStringLiteral("https://apps.apple.com/app/id123456789"), 30)));
        ids.insert(QStringLiteral("slow"), qint64(add(ClipGroup::link, base + "/slow", 40)));
        ids.insert(QStringLiteral("missing"), qint64(add(ClipGroup::link, base + "/missing", 50)));
        ids.insert(QStringLiteral("plain"), qint64(add(ClipGroup::link, base + "/plain", 60)));
        store->reload();
    }

    // The server and the network need the application object, which the fixture makes late.
    bool applicationReady = (test::ensureGuiApplication(), true);
    test::LocalHttpServer server;
    QNetworkAccessManager network;
    NetworkHttpClient http{&network};
    SiteIconFetcher icons{&network, nullptr, server.port()};
    FakeDesktopServices desktop;
    std::unique_ptr<LinkPreviewService> service;
    QVariantMap ids;
};

TEST_F(LinkPreviewScreen, EveryStateDrawnAndClickable)
{
    QQuickView view;
    service->installImageProvider(view.engine());
    installUi(*view.engine(), store.get());
    view.rootContext()->setContextProperty(QStringLiteral("galleryIds"), ids);
    view.rootContext()->setContextProperty(QStringLiteral("galleryStore"), store.get());
    view.rootContext()->setContextProperty(QStringLiteral("galleryService"), service.get());
    view.setSource(QUrl::fromLocalFile(QStringLiteral(CORVANE_LINK_GALLERY_QML)));
    ASSERT_EQ(view.status(), QQuickView::Ready) << qPrintable(view.errors().value(0).toString());
    view.resize(720, 640);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

    // Right after the cards asked: every fetch is under way.
    QTest::qWait(100);
    save(view, QStringLiteral("link-preview-loading.png"));

    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(server.port());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return service->preview(base + "/article") && service->preview(base + "/watch?v=42")
                && service->preview(QStringLiteral("https://apps.apple.com/app/id123456789")) && service->preview(base + "/plain")
                && service->hasFailed(base + "/missing");
        },
        15000))
        << service->preview(base + "/article").has_value() << service->preview(base + "/watch?v=42").has_value()
        << service->preview(QStringLiteral("https://apps.apple.com/app/id123456789")).has_value()
        << service->preview(base + "/plain").has_value() << service->hasFailed(base + "/missing")
        << server.requested().join(QStringLiteral(" ")).toStdString();
    QTest::qWait(800); // images arrive and the cards fade in
    save(view, QStringLiteral("link-preview-cards.png"));
    const QStringList unreadable = test::auditAccessibility(&view);
    EXPECT_TRUE(unreadable.isEmpty()) << unreadable.join('\n').toStdString();

    QQuickItem *root = view.rootObject();
    EXPECT_TRUE(findItem(findItem(root, "videoCard"), "linkPreviewPlay")->isVisible());
    EXPECT_FALSE(findItem(findItem(root, "articleCard"), "linkPreviewPlay")->isVisible());
    EXPECT_TRUE(findItem(findItem(root, "slowCard"), "linkLoadingRow")->isVisible());
    EXPECT_EQ(findItem(root, "missingCard")->implicitHeight(), 0);

    // A person clicks the article's card and the app card's link.
    QQuickItem *article = findItem(findItem(root, "articleCard"), "linkPreviewButton");
    QTest::mouseClick(&view, Qt::LeftButton, {}, article->mapToScene(QPointF(article->width() / 2, 60)).toPoint());
    QQuickItem *action = findItem(findItem(root, "appCard"), "appCardAction");
    QTest::mouseClick(&view, Qt::LeftButton, {},
                      action->mapToScene(QPointF(action->width() / 2, action->height() / 2)).toPoint());
    EXPECT_EQ(desktop.openedUrls(),
              (QList<QUrl>{QUrl(base + "/article"), QUrl(QStringLiteral("https://apps.apple.com/app/id123456789"))}));
}

} // namespace
