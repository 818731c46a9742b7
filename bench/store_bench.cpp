// The store over a synthetic history of 100,000 clips: reload, derived lists and edit round trips.
#include "AppSettings.h"
#include "ClipDatabase.h"
#include "ClipListModel.h"
#include "ClipboardStore.h"
#include "ContentDetector.h"
#include "DerivedLists.h"
#include "FakeClipboardService.h"
#include "FakeClock.h"
#include "SyntheticClips.h"
#include "SearchIndexBuilder.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

using namespace corvane;

namespace {

constexpr int clipCount = 100'000;

const QStringList words = QStringLiteral(
    "the of and to in is that for it as was with be by on not this are or from at which have an they you "
    "meeting invoice project release schedule budget review deadline customer server database connection "
    "postgres query timeout network deploy build failure report summary agenda weekend dinner flight hotel "
    "address account payment order delivery package tracking number document folder picture camera").split(u' ');
const QStringList hosts = QStringLiteral(
    "github.com docs.qt.io en.wikipedia.org news.ycombinator.com stackoverflow.com www.youtube.com "
    "mail.example.org shop.example.com maps.example.net blog.example.io").split(u' ');

QString sentence(std::mt19937 &random, int length)
{
    QString text;
    while (text.size() < length)
        text += words[int(random() % words.size())] + QLatin1Char(' ');
    return text.trimmed();
}

QByteArray thumbnailPng(std::mt19937 &random)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor::fromRgb(random()));
    for (int y = 0; y < 48; y += 4)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, random());
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

/** The history: the core benchmark's text mix, 10% with notes, 2% images, 20 pinned, 300 tagged. */
void populate(ClipDatabase &db, double now)
{
    db.exec(QStringLiteral("PRAGMA synchronous = OFF"));
    std::mt19937 random(42);
    const QList<QString> texts = bench::syntheticClips(clipCount);
    QList<std::int64_t> ids;
    for (int i = 0; i < clipCount; ++i) {
        ClipDatabase::NewClip clip;
        if (random() % 100 < 2) {
            clip.group = ClipGroup::image;
            clip.thumbnail = thumbnailPng(random);
            clip.image = clip.thumbnail;
            clip.imageSize = QSize(1280, 960);
            clip.dhash = random();
            clip.byteSize = clip.image.size();
        } else {
            const Detection detection = ContentDetector::detect(texts[i]);
            clip.group = detection.group;
            clip.detail = detection.detail;
            clip.text = texts[i];
            clip.byteSize = texts[i].toUtf8().size();
        }
        clip.createdAt = now - double(clipCount - i) * 300.0; // one every five minutes, about a year
        if (random() % 3 == 0) {
            clip.sourceURL = QStringLiteral("https://%1/page").arg(hosts[int(random() % hosts.size())]);
        } else {
            clip.sourceBundleID = QStringLiteral("org.example.App%1").arg(random() % 40);
            clip.sourceName = QStringLiteral("App %1").arg(random() % 40);
        }
        // Like the capture's SHA-256 hex digest: 64 characters.
        clip.hash = QString::fromLatin1(QCryptographicHash::hash(QByteArray::number(i), QCryptographicHash::Sha256).toHex());
        ids.append(db.insert(clip).id);
    }
    for (int i = 0; i < clipCount / 10; ++i)
        db.setNote(ids[int(random() % ids.size())], QStringLiteral("note about %1").arg(sentence(random, 20)));
    for (int i = 0; i < 20; ++i)
        db.setPinned(ids[int(random() % ids.size())], true, now - i);
    for (int i = 0; i < 300; ++i)
        db.setTags(ids[int(random() % ids.size())], 1 << (random() % 7));
}

/** Only the store, for measuring its memory. */
bool holdOnly = false;

struct Fixture {
    Fixture()
    {
        settingsFile = std::make_unique<QSettings>(dir.filePath(QStringLiteral("Corvane.conf")), QSettings::IniFormat);
        settings = std::make_unique<AppSettings>(settingsFile.get(), nullptr);
        settings->setStorageLimit(5'000'000'000);
        // CORVANE_BENCH_HISTORY keeps the generated history between runs.
        path = qEnvironmentVariable("CORVANE_BENCH_HISTORY", dir.filePath(QStringLiteral("history.sqlite")));
        if (!QFile::exists(path)) {
            ClipDatabase db(path);
            populate(db, clock.now().toMSecsSinceEpoch() / 1000.0);
        }
        store = makeStore();
        if (holdOnly)
            return;
        clips.replace(store->database()->loadClips(), QTimeZone::utc());
        context = {clock.now(), QTimeZone::utc(), {}};
        // The search index is built once per clip; the keystroke figures below are with it built.
        DerivedLists::visible(clips, ClipFilter::all(), QStringLiteral("warm up"), context);
    }

    std::unique_ptr<ClipboardStore> makeStore(bool inBackground = false)
    {
        ClipboardStore::Services services;
        services.loadInBackground = inBackground;
        services.settings = settings.get();
        services.clipboard = &clipboard;
        services.clock = &clock;
        services.databasePath = path;
        services.timeZone = QTimeZone::utc();
        return std::make_unique<ClipboardStore>(services);
    }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<QSettings> settingsFile;
    std::unique_ptr<AppSettings> settings;
    FakeClock clock;
    FakeClipboardService clipboard;
    std::unique_ptr<ClipboardStore> store;
    ClipCollection clips;
    SearchContext context;
};

Fixture &fixture()
{
    static Fixture instance;
    return instance;
}

void BM_StoreStart(benchmark::State &state)
{
    for (auto _ : state) {
        auto store = fixture().makeStore();
        benchmark::DoNotOptimize(store->clipCount());
    }
}

/** As the application starts: until the newest clips are shown; the rest is read on a worker. */
void BM_StoreStartNewestFirst(benchmark::State &state)
{
    for (auto _ : state) {
        auto store = fixture().makeStore(true);
        benchmark::DoNotOptimize(store->clipCount());
        state.PauseTiming();
        while (store->isLoading())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        store.reset();
        state.ResumeTiming();
    }
}

void BM_DatabaseLoadClips(benchmark::State &state)
{
    ClipDatabase &db = *fixture().store->database();
    for (auto _ : state)
        benchmark::DoNotOptimize(db.loadClips());
}

void BM_CollectionFirstFill(benchmark::State &state)
{
    const QList<Clip> loaded = fixture().store->database()->loadClips();
    for (auto _ : state) {
        ClipCollection clips;
        clips.replace(loaded, QTimeZone::utc());
        benchmark::DoNotOptimize(clips.size());
    }
}

void BM_CollectionRefill(benchmark::State &state)
{
    // A reload's own work once the rows are read: matching them against the loaded clips.
    const QList<Clip> loaded = fixture().store->database()->loadClips();
    ClipCollection clips;
    clips.replace(loaded, QTimeZone::utc());
    QList<Clip> edited = loaded;
    for (auto _ : state) {
        state.PauseTiming();
        QList<Clip> copy = edited;
        copy[500].note = QStringLiteral("edited %1").arg(state.iterations());
        state.ResumeTiming();
        benchmark::DoNotOptimize(clips.replace(std::move(copy), QTimeZone::utc()));
    }
}

void BM_ReloadAfterOneEdit(benchmark::State &state)
{
    ClipboardStore &store = *fixture().store;
    const std::int64_t id = store.clips().at(500)->id;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        store.database()->setNote(id, QStringLiteral("edited %1").arg(++n));
        state.ResumeTiming();
        store.reload();
    }
}

void BM_VisibleTwoWordSearch(benchmark::State &state)
{
    Fixture &f = fixture();
    // Two words each, one with a typo, as a user types them.
    const QStringList queries{QStringLiteral("invoice deadline"), QStringLiteral("server conection"),
                              QStringLiteral("flight hotel"), QStringLiteral("github relase")};
    int n = 0;
    for (auto _ : state) {
        const auto visible = DerivedLists::visible(f.clips, ClipFilter::all(), queries[n++ % queries.size()], f.context);
        benchmark::DoNotOptimize(f.clips.toList(visible));
    }
}

void BM_FirstSearchBuildingTheIndex(benchmark::State &state)
{
    Fixture &f = fixture();
    const QList<Clip> loaded = f.store->database()->loadClips();
    for (auto _ : state) {
        state.PauseTiming();
        ClipCollection clips;
        clips.replace(loaded, QTimeZone::utc());
        state.ResumeTiming();
        benchmark::DoNotOptimize(DerivedLists::visible(clips, ClipFilter::all(), QStringLiteral("invoice deadline"), f.context));
    }
}

void BM_VisibleEmptySearch(benchmark::State &state)
{
    Fixture &f = fixture();
    const ClipFilter filter = state.range(0) == 0 ? ClipFilter::all() : ClipFilter::ofGroup(ClipGroup::code);
    for (auto _ : state) {
        const auto visible = DerivedLists::visible(f.clips, filter, QString(), f.context);
        benchmark::DoNotOptimize(f.clips.toList(visible));
    }
}

void BM_Sections(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        const auto visible = DerivedLists::visible(f.clips, ClipFilter::all(), QString(), f.context);
        const SectionLayout layout = DerivedLists::sectionLayout(f.clips, visible, ClipFilter::all(), QString(), f.context);
        benchmark::DoNotOptimize(DerivedLists::sections(f.clips, visible, layout));
    }
}

void BM_SectionLayout(benchmark::State &state)
{
    // What the list model reads: the titles and a section per row, without lists of clips.
    Fixture &f = fixture();
    for (auto _ : state) {
        const auto visible = DerivedLists::visible(f.clips, ClipFilter::all(), QString(), f.context);
        benchmark::DoNotOptimize(DerivedLists::sectionLayout(f.clips, visible, ClipFilter::all(), QString(), f.context));
    }
}

void BM_CachedVisibleRead(benchmark::State &state)
{
    ClipboardStore &store = *fixture().store;
    for (auto _ : state)
        benchmark::DoNotOptimize(store.visibleClips(ClipFilter::all(), QStringLiteral("invoice deadline")));
}

void BM_ListAfterOneNewClip(benchmark::State &state)
{
    // The main list's share of a capture: the store re-reads the new clip, the sectioned list model
    // takes it in place (one inserted row).
    ClipboardStore &store = *fixture().store;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ClipDatabase::NewClip clip;
        clip.text = QStringLiteral("new clip %1").arg(++n);
        clip.byteSize = clip.text->size();
        clip.createdAt = fixture().clock.now().toMSecsSinceEpoch() / 1000.0 + n;
        clip.hash = QStringLiteral("bench-new-%1").arg(n);
        const std::int64_t id = store.database()->insert(clip).id;
        state.ResumeTiming();
        store.clipsRecorded({id}, QList<std::int64_t>{});
    }
    state.counters["rows"] = store.clipModel()->rowCount();
}

void BM_ListSelectionChange(benchmark::State &state)
{
    ClipboardStore &store = *fixture().store;
    int n = 0;
    for (auto _ : state)
        store.select(store.clipModel()->clipIdAt(++n % 1000));
}

void BM_ListSearchKeystroke(benchmark::State &state)
{
    // A keystroke as the list sees it: the store's search, then the model's edit to the new rows.
    ClipboardStore &store = *fixture().store;
    const QStringList typed{QStringLiteral("b"), QStringLiteral("bu"), QStringLiteral("bud"), QStringLiteral("budg"),
                            QStringLiteral("budge"), QStringLiteral("budget"), QString()};
    int n = 0;
    for (auto _ : state)
        store.setSearchText(typed[n++ % typed.size()]);
}

void BM_TogglePinRoundTrip(benchmark::State &state)
{
    ClipboardStore &store = *fixture().store;
    // A pinned clip: unpinning prunes, pinning again stays within the limit of 20.
    const auto pinned = std::find_if(store.clips().begin(), store.clips().end(), [](const ClipRef &clip) { return clip->isPinned; });
    const std::int64_t id = (*pinned)->id;
    for (auto _ : state)
        store.togglePin(id);
}

void BM_ToggleTagRoundTrip(benchmark::State &state)
{
    ClipboardStore &store = *fixture().store;
    const std::int64_t id = store.clips().at(2000)->id;
    for (auto _ : state)
        store.toggleTag(int(ColorTag::green), id);
}

void BM_DeleteRoundTrip(benchmark::State &state)
{
    ClipboardStore &store = *fixture().store;
    int next = 3000;
    for (auto _ : state)
        store.deleteClip(store.clips().at(next++)->id);
}

} // namespace

BENCHMARK(BM_StoreStart)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StoreStartNewestFirst)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DatabaseLoadClips)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollectionFirstFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollectionRefill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReloadAfterOneEdit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VisibleTwoWordSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstSearchBuildingTheIndex)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_VisibleEmptySearch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sections)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SectionLayout)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CachedVisibleRead)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListAfterOneNewClip)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ListSelectionChange)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListSearchKeystroke)->Unit(benchmark::kMillisecond)->Iterations(14);
BENCHMARK(BM_TogglePinRoundTrip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToggleTagRoundTrip)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteRoundTrip)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (app.arguments().contains(QStringLiteral("--hold-history"))) {
        // For peak memory (/usr/bin/time -v): one store holding the history, searched once.
        holdOnly = true;
        Fixture &f = fixture();
        f.store->searchIndexBuilder()->waitForFinished();
        benchmark::DoNotOptimize(f.store->visibleClips(ClipFilter::all(), QStringLiteral("invoice deadline")));
        benchmark::DoNotOptimize(f.store->sections());
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
