// The store over a synthetic history (100,000 clips unless --clips=N): reload, derived lists and edit
// round trips. Each figure also shows per clip, so sizes compare: costs should grow at most linearly.
#include "AppSettings.h"
#include "ClipDatabase.h"
#include "ClipListModel.h"
#include "ClipTextSource.h"
#include "ClipboardStore.h"
#include "ContentDetector.h"
#include "DerivedLists.h"
#include "FakeClipboardService.h"
#include "FakeClock.h"
#include "FuzzyRunDictionary.h"
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

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <random>

using namespace corvane;

namespace {

int clipCount = 100'000;

/** Time per loaded clip beside each figure. */
void perClip(benchmark::State &state)
{
    state.counters["per_clip"]
        = benchmark::Counter(double(clipCount), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

const QStringList &words = bench::syntheticWords();
const QStringList &hosts = bench::syntheticHosts();

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
    perClip(state);
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
    perClip(state);
    ClipDatabase &db = *fixture().store->database();
    for (auto _ : state)
        benchmark::DoNotOptimize(db.loadClips());
}

void BM_CollectionFirstFill(benchmark::State &state)
{
    perClip(state);
    const QList<Clip> loaded = fixture().store->database()->loadClips();
    for (auto _ : state) {
        ClipCollection clips;
        clips.replace(loaded, QTimeZone::utc());
        benchmark::DoNotOptimize(clips.size());
    }
}

void BM_CollectionRefill(benchmark::State &state)
{
    perClip(state);
    // A reload's own work once the rows are read: matching them against the loaded clips.
    const QList<Clip> loaded = fixture().store->database()->loadClips();
    ClipCollection clips;
    clips.replace(loaded, QTimeZone::utc());
    QList<Clip> edited = loaded;
    for (auto _ : state) {
        state.PauseTiming();
        QList<Clip> copy = edited;
        copy[copy.size() / 200].note = QStringLiteral("edited %1").arg(state.iterations());
        state.ResumeTiming();
        benchmark::DoNotOptimize(clips.replace(std::move(copy), QTimeZone::utc()));
    }
}

void BM_ReloadAfterOneEdit(benchmark::State &state)
{
    perClip(state);
    ClipboardStore &store = *fixture().store;
    const std::int64_t id = store.clips().at(store.clipCount() / 200)->id;
    // Other connections (the start-up benchmark's stores) wrote: the first reload compares every
    // row; the figure is for the reloads after that.
    store.reload();
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
    perClip(state);
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
    perClip(state);
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
    perClip(state);
    Fixture &f = fixture();
    const ClipFilter filter = state.range(0) == 0 ? ClipFilter::all() : ClipFilter::ofGroup(ClipGroup::code);
    for (auto _ : state) {
        const auto visible = DerivedLists::visible(f.clips, filter, QString(), f.context);
        benchmark::DoNotOptimize(f.clips.toList(visible));
    }
}

void BM_Sections(benchmark::State &state)
{
    perClip(state);
    Fixture &f = fixture();
    for (auto _ : state) {
        const auto visible = DerivedLists::visible(f.clips, ClipFilter::all(), QString(), f.context);
        const SectionLayout layout = DerivedLists::sectionLayout(f.clips, visible, ClipFilter::all(), QString(), f.context);
        benchmark::DoNotOptimize(DerivedLists::sections(f.clips, visible, layout));
    }
}

void BM_SectionLayout(benchmark::State &state)
{
    perClip(state);
    // What the list model reads: the titles and a section per row, without lists of clips.
    Fixture &f = fixture();
    for (auto _ : state) {
        const auto visible = DerivedLists::visible(f.clips, ClipFilter::all(), QString(), f.context);
        benchmark::DoNotOptimize(DerivedLists::sectionLayout(f.clips, visible, ClipFilter::all(), QString(), f.context));
    }
}

void BM_CachedVisibleRead(benchmark::State &state)
{
    perClip(state);
    ClipboardStore &store = *fixture().store;
    store.visibleIDs(ClipFilter::all(), QStringLiteral("invoice deadline")); // the read below is the cached one
    for (auto _ : state)
        benchmark::DoNotOptimize(store.visibleIDs(ClipFilter::all(), QStringLiteral("invoice deadline")));
}

/** A text clip dated `secondsAhead` past the fixture's now, for a benchmark to insert. */
ClipDatabase::NewClip benchTextClip(const QString &text, const QString &hash, double secondsAhead)
{
    ClipDatabase::NewClip clip;
    clip.text = text;
    clip.byteSize = text.size();
    clip.createdAt = fixture().clock.now().toMSecsSinceEpoch() / 1000.0 + secondsAhead;
    clip.hash = hash;
    return clip;
}

void BM_ListAfterOneNewClip(benchmark::State &state)
{
    perClip(state);
    // The main list's share of a capture: the store re-reads the new clip, the sectioned list model
    // takes it in place (one inserted row).
    ClipboardStore &store = *fixture().store;
    static int n = 0; // repetitions add new clips too, not copies of the first run's
    for (auto _ : state) {
        state.PauseTiming();
        ++n;
        const ClipDatabase::NewClip clip = benchTextClip(QStringLiteral("new clip %1").arg(n), QStringLiteral("bench-new-%1").arg(n), n);
        const std::int64_t id = store.database()->insert(clip).id;
        state.ResumeTiming();
        store.clipsRecorded({id}, QList<std::int64_t>{});
    }
    state.counters["rows"] = store.clipModel()->rowCount();
}

void BM_SourcesAfterOneNewClip(benchmark::State &state)
{
    perClip(state);
    // The sidebar's share of a capture: the sources ranked again over every clip.
    ClipboardStore &store = *fixture().store;
    static int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++n;
        ClipDatabase::NewClip clip
            = benchTextClip(QStringLiteral("sourced clip %1").arg(n), QStringLiteral("bench-sourced-%1").arg(n), 1e5 + n);
        clip.sourceBundleID = QStringLiteral("org.example.App%1").arg(n % 40);
        clip.sourceName = QStringLiteral("App %1").arg(n % 40);
        store.clipsRecorded({store.database()->insert(clip).id}, QList<std::int64_t>{});
        state.ResumeTiming();
        benchmark::DoNotOptimize(store.sources());
    }
}

void BM_CopyAgainRoundTrip(benchmark::State &state)
{
    perClip(state);
    // Copying a text the history holds again: its clip moves up to now, the rest stays.
    ClipboardStore &store = *fixture().store;
    static int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int again = clipCount / 2 + (++n);
        const ClipDatabase::NewClip clip = benchTextClip(
            QStringLiteral("copied again"),
            QString::fromLatin1(QCryptographicHash::hash(QByteArray::number(again), QCryptographicHash::Sha256).toHex()), 2e5 + n);
        const std::int64_t id = store.database()->insert(clip).id;
        state.ResumeTiming();
        store.clipsRecorded({id}, QList<std::int64_t>{});
    }
}

void BM_ListSelectionChange(benchmark::State &state)
{
    perClip(state);
    ClipboardStore &store = *fixture().store;
    int n = 0;
    for (auto _ : state)
        store.select(store.clipModel()->clipIdAt(++n % 1000));
}

void BM_ListSearchKeystroke(benchmark::State &state)
{
    perClip(state);
    // A keystroke as the list sees it: the store's search, then the model's edit to the new rows.
    ClipboardStore &store = *fixture().store;
    const QStringList typed{QStringLiteral("b"),
                            QStringLiteral("bu"),
                            QStringLiteral("bud"),
                            QStringLiteral("budg"),
                            QStringLiteral("budge"),
                            QStringLiteral("budget"),
                            QString()};
    int n = 0;
    for (auto _ : state)
        store.setSearchText(typed[n++ % typed.size()]);
}

void BM_TogglePinRoundTrip(benchmark::State &state)
{
    perClip(state);
    ClipboardStore &store = *fixture().store;
    // A pinned clip: unpinning prunes, pinning again stays within the limit of 20.
    const auto pinned
        = std::find_if(store.clips().begin(), store.clips().end(), [](const ClipRef &clip) { return clip->isPinned; });
    const std::int64_t id = (*pinned)->id;
    store.reload();
    store.togglePin(id); // the first unpin works out the prunable bytes once
    store.togglePin(id);
    for (auto _ : state)
        store.togglePin(id);
}

void BM_ToggleTagRoundTrip(benchmark::State &state)
{
    perClip(state);
    ClipboardStore &store = *fixture().store;
    const std::int64_t id = store.clips().at(store.clipCount() / 50)->id;
    for (auto _ : state)
        store.toggleTag(int(ColorTag::green), id);
}

void BM_DeleteRoundTrip(benchmark::State &state)
{
    perClip(state);
    ClipboardStore &store = *fixture().store;
    for (auto _ : state)
        store.deleteClip(store.clips().at(store.clipCount() / 30)->id);
}

void BM_PruneAfterInsert(benchmark::State &state)
{
    perClip(state);
    // A full history: each capture pushes the oldest prunable clip out.
    ClipboardStore &store = *fixture().store;
    std::int64_t prunable = 0;
    for (const ClipRef &clip : store.clips()) {
        if (!clip->isPinned && clip->tagMask == 0)
            prunable += clip->byteSize + clip->thumbnailPng.size();
    }
    static int n = 0;
    std::int64_t pruned = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ClipDatabase::NewClip clip;
        clip.text = QStringLiteral("pushing out %1").arg(++n);
        clip.byteSize = 2000; // counted as large enough to push out a few clips each time
        clip.createdAt = fixture().clock.now().toMSecsSinceEpoch() / 1000.0 + 1e6 + n;
        clip.hash = QStringLiteral("bench-prune-%1").arg(n);
        store.database()->insert(clip);
        state.ResumeTiming();
        pruned += store.database()->prune(prunable).size();
    }
    state.counters["pruned"] = double(pruned);
}

/** What the loaded clips hold per clip, by kind: where the memory of a large history goes. */
void printHeldBytes(const ClipCollection &collection)
{
    auto textBytes = [](const auto &text) { return text ? text->size() * 2 : 0; };
    double structs = 0, index = 0, texts = 0, display = 0, extras = 0, thumbnails = 0, held = 0;
    for (const ClipEntry &entry : collection.entries()) {
        index += double(entry.haystack.memoryUsage());
        // Only what is held counts: clips and texts read on demand sit in caches within their budgets.
        const ClipRef &clip = entry.clip;
        if (!clip)
            continue;
        ++held;
        structs += sizeof(Clip);
        if (const QString *text = clip->heldText())
            texts += double(text->capacity()) * 2;
        display += clip->storedPreview.size() * 2;
        extras += textBytes(clip->note) + textBytes(clip->summary) + textBytes(clip->smartTitle);
        thumbnails += clip->thumbnailPng.size();
    }
    const double n = std::max(1, collection.size());
    // The runs the indexes refer to, shared by all clips.
    const double dictionary = double(FuzzyRunDictionary::shared().memoryUsage());
    std::fprintf(stderr, "search dictionary: %u runs, %.1f MB, %.0f B per clip\n", FuzzyRunDictionary::shared().size(),
                 dictionary / 1e6, dictionary / n);
    index += dictionary;
    std::fprintf(stderr, "clips holding their object: %.0f of %.0f\n", held, n);
    std::fprintf(stderr,
                 "per clip: struct %.0f B, held text %.0f B, stored preview %.0f B, note/summary/title %.0f B, thumbnail %.0f B, "
                 "search index %.0f B (dictionary share included), entry %zu B\n",
                 structs / n, texts / n, display / n, extras / n, thumbnails / n, index / n, sizeof(ClipEntry));
    std::fprintf(stderr, "text cache: %zu B in all (budget %zu B)\n", ClipTextSource::shared().cachedBytes(),
                 ClipTextSource::shared().budget());
}

} // namespace

BENCHMARK(BM_StoreStart)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_StoreStartNewestFirst)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DatabaseLoadClips)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollectionFirstFill)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CollectionRefill)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReloadAfterOneEdit)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VisibleTwoWordSearch)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstSearchBuildingTheIndex)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_VisibleEmptySearch)->UseRealTime()->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sections)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SectionLayout)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CachedVisibleRead)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListAfterOneNewClip)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SourcesAfterOneNewClip)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_CopyAgainRoundTrip)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ListSelectionChange)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListSearchKeystroke)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(14);
BENCHMARK(BM_TogglePinRoundTrip)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ToggleTagRoundTrip)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteRoundTrip)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PruneAfterInsert)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    // Arguments of our own are taken out before Qt and the library see the rest.
    bool hold = false;
    argc = int(std::remove_if(argv + 1, argv + argc,
                              [&hold](char *argument) {
                                  if (std::strncmp(argument, "--clips=", 8) == 0) {
                                      clipCount = std::max(1, std::atoi(argument + 8));
                                      return true;
                                  }
                                  if (std::strcmp(argument, "--hold-history") == 0)
                                      return hold = true;
                                  return false;
                              })
               - argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (hold) {
        // For peak memory (/usr/bin/time -v): one store holding the history, searched once.
        holdOnly = true;
        Fixture &f = fixture();
        f.store->searchIndexBuilder()->waitForFinished();
        benchmark::DoNotOptimize(f.store->visibleIDs(ClipFilter::all(), QStringLiteral("invoice deadline")));
        benchmark::DoNotOptimize(f.store->sectionLayout(ClipFilter::all(), QString()));
        printHeldBytes(f.store->collection());
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
