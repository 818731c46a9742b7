// Link previews on the main thread: 1,000 visible link clips served from the database cache and
// then from memory, and how long a 4000×3000 page picture stalls the event loop while it is fetched.
#include "../tests/engine/FakeHttpClient.h"
#include "AppSettings.h"
#include "ClipDatabase.h"
#include "ClipboardStore.h"
#include "FakeClipboardService.h"
#include "FakeClock.h"
#include "ImageTools.h"
#include "LinkPreviewService.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace corvane;

namespace {

constexpr int linkCount = 1000;

QByteArray picture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, Qt::darkBlue);
    gradient.setColorAt(1, Qt::yellow);
    painter.fillRect(image.rect(), gradient);
    painter.end();
    return *pngData(image);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    QSettings file(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    AppSettings settings(&file, nullptr);
    FakeClock clock;
    FakeClipboardService clipboard;
    test::FakeHttpClient http;

    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    {
        ClipDatabase database(path);
        const QByteArray image = picture(800, 420);
        const QByteArray icon = picture(64, 64);
        for (int i = 0; i < linkCount; ++i) {
            const QString link = QStringLiteral("https://example.com/article/%1").arg(i);
            ClipDatabase::NewClip clip;
            clip.group = ClipGroup::link;
            clip.text = link;
            clip.byteSize = link.size();
            clip.createdAt = 1'700'000'000 + i;
            clip.hash = QStringLiteral("link\n") + link;
            database.insert(clip);
            database.saveLinkPreview({QStringLiteral("Article %1").arg(i), QStringLiteral("Example"), image, icon}, link);
        }
    }
    ClipboardStore::Services services;
    services.settings = &settings;
    services.clipboard = &clipboard;
    services.clock = &clock;
    services.databasePath = path;
    ClipboardStore store(services);

    LinkPreviewService::Services previewServices;
    previewServices.http = &http;
    previewServices.clock = &clock;
    LinkPreviewService service(previewServices);

    QElapsedTimer timer;
    timer.start();
    for (const ClipRef &clip : store.clips())
        service.loadPreview(*clip, store);
    const double coldMs = timer.nsecsElapsed() / 1e6;
    timer.restart();
    for (const ClipRef &clip : store.clips())
        service.loadPreview(*clip, store);
    const double warmMs = timer.nsecsElapsed() / 1e6;
    std::printf("loadPreview, %d links cached in the database: first pass %.2f ms (%.3f ms a link), "
                "second pass %.3f ms, requests %lld\n",
                linkCount, coldMs, coldMs / linkCount, warmMs, static_cast<long long>(http.requested.size()));

    // A page whose picture is 4000×3000: the longest gap between ticks of a 1 ms timer while it loads.
    const QString page = QStringLiteral("https://example.com/huge");
    http.answer(page, R"(<meta property="og:title" content="Huge"><meta property="og:image" content="/huge.png">)");
    http.answer(QStringLiteral("https://example.com/huge.png"), picture(4000, 3000), "image/png");
    ClipDatabase::NewClip clip;
    clip.group = ClipGroup::link;
    clip.text = page;
    clip.createdAt = 1'800'000'000;
    clip.hash = QStringLiteral("link\n") + page;
    const std::int64_t id = store.database()->insert(clip).id;
    store.reload();

    qint64 longestGapNs = 0;
    QElapsedTimer gap;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGapNs = std::max(longestGapNs, gap.nsecsElapsed());
        gap.restart();
    });
    gap.start();
    ticker.start(1);
    timer.restart();
    service.loadPreview(id, &store);
    while (service.isLoading(page) && timer.elapsed() < 20'000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    ticker.stop();
    std::printf("4000x3000 page picture: fetched and scaled in %.1f ms; longest main-thread stall %.2f ms "
                "(1 ms timer); picture kept at %dx%d\n",
                timer.nsecsElapsed() / 1e6, longestGapNs / 1e6,
                QImage::fromData(service.preview(page).value_or(LinkPreview{}).image).width(),
                QImage::fromData(service.preview(page).value_or(LinkPreview{}).image).height());
    return 0;
}
