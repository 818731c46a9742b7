// Capture at the size of a long-kept history: text copies stored into 100,000 clips on the
// capture thread (insert, prune, and the main thread's coalesced reloads), and, on an X server,
// the time from xclip setting the clipboard to the row existing.
#include "AppSettings.h"
#include "CapturePipeline.h"
#include "CaptureQueue.h"
#include "ClipboardMonitor.h"
#include "ClipboardStore.h"
#include "QtClipboardService.h"
#include "SystemClock.h"
#include "X11ActiveWindow.h"
#include "X11ClipboardSource.h"
#include "XdgDesktopEntries.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace corvane::bench {
namespace {

constexpr int historySize = 100'000;

CaptureRequest textRequest(int i, std::int64_t limit)
{
    CaptureRequest request;
    request.payload.text = QStringLiteral("copied line %1: the quick brown fox jumps over the lazy dog").arg(i);
    request.sourceName = QStringLiteral("Text Editor");
    request.sourceBundleID = QStringLiteral("org.gnome.TextEditor");
    request.date = 1'700'000'000.0 + i;
    request.storageLimit = limit;
    return request;
}

/** A history of 100,000 text clips whose storage limit is full, so every capture prunes. */
struct FullHistory {
    QTemporaryDir dir;
    std::shared_ptr<ClipDatabase> db;
    std::int64_t limit = 0;
    int next = 0;

    FullHistory()
    {
        db = std::make_shared<ClipDatabase>(dir.filePath(QStringLiteral("history.sqlite")));
        CapturePipeline pipeline(*db);
        for (; next < historySize; ++next)
            pipeline.process(textRequest(next, 5'000'000'000));
        limit = db->storageUsed();
    }
};

FullHistory &history()
{
    static FullHistory instance;
    return instance;
}

void BM_CaptureOnWorker(benchmark::State &state)
{
    FullHistory &h = history();
    CapturePipeline pipeline(*h.db);
    for (auto _ : state)
        pipeline.process(textRequest(h.next++, h.limit));
    state.SetItemsProcessed(state.iterations());
    state.counters["clips"] = double(h.db->clipCount());
}
BENCHMARK(BM_CaptureOnWorker)->Unit(benchmark::kMillisecond)->Iterations(2000);

/** Bursts through the queue's thread, with the store-like reload of every result batch. */
void BM_CaptureQueueWithReloads(benchmark::State &state)
{
    FullHistory &h = history();
    CaptureQueue queue(h.db);
    int reloads = 0;
    queue.onClipsRecorded = [&](const QList<std::int64_t> &, const auto &) {
        benchmark::DoNotOptimize(h.db->loadClips());
        ++reloads;
    };
    const int burst = int(state.range(0));
    for (auto _ : state) {
        for (int i = 0; i < burst; ++i)
            queue.enqueue(textRequest(h.next++, h.limit));
        while (queue.pendingCount() > 0)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    state.SetItemsProcessed(state.iterations() * burst);
    state.counters["reloads"] = double(reloads) / double(state.iterations());
}
BENCHMARK(BM_CaptureQueueWithReloads)->Arg(500)->Unit(benchmark::kMillisecond)->Iterations(4);

/** Seconds from xclip owning the clipboard to the row being in the database (X11 only). */
void BM_XclipToRow(benchmark::State &state)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        state.SkipWithError("needs an X server: run under xvfb-run with QT_QPA_PLATFORM=xcb");
        return;
    }
    QTemporaryDir home;
    QSettings file(home.filePath(QStringLiteral("Corvane.conf")), QSettings::IniFormat);
    AppSettings settings(&file, nullptr);
    QtClipboardService clipboard;
    SystemClock clock;
    XdgDesktopEntries entries;
    X11ActiveWindow window(entries);
    ClipboardStore::Services services;
    services.settings = &settings;
    services.clipboard = &clipboard;
    services.clock = &clock;
    services.desktopEntries = &entries;
    services.activeWindow = &window;
    services.databasePath = home.filePath(QStringLiteral("history.sqlite"));
    services.clipboardSource
        = [](ClipboardService &) -> std::unique_ptr<ClipboardSource> { return X11ClipboardSource::create(); };
    ClipboardStore store(services);

    int i = 0;
    for (auto _ : state) {
        const QString input = home.filePath(QStringLiteral("input"));
        QFile probe(input);
        probe.open(QIODevice::WriteOnly);
        probe.write(QStringLiteral("latency probe %1").arg(i++).toUtf8());
        probe.close();
        // Copies come at random moments, not in step with the poll.
        QDeadlineTimer idle(QRandomGenerator::global()->bounded(ClipboardMonitor::pollInterval));
        while (!idle.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        const std::int64_t before = store.database()->clipCount();
        QElapsedTimer timer;
        timer.start(); // counted from the start of xclip: its own start-up is included
        QProcess xclip;
        xclip.start(QStringLiteral("xclip"),
                    {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i"), input});
        xclip.waitForFinished(); // its child takes the selection; the row is what counts
        QDeadlineTimer deadline(5000);
        while (store.database()->clipCount() == before && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_XclipToRow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace
} // namespace corvane::bench

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
