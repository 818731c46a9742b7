// The clip database at the size of a long-kept history: 100,000 clips of mixed groups, 10% with
// notes, 2% images with thumbnails, 20 pinned and 300 tagged.
#include "ClipDatabase.h"
#include "ImageTools.h"

#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>

#include <memory>

namespace corvane::bench {
namespace {

constexpr int clipCount = 100'000;

struct GroupShare {
    ClipGroup group;
    int percent;
};
constexpr GroupShare shares[] = {
    {ClipGroup::text, 45},  {ClipGroup::link, 15}, {ClipGroup::code, 10}, {ClipGroup::number, 8},
    {ClipGroup::file, 6},   {ClipGroup::color, 4}, {ClipGroup::email, 3}, {ClipGroup::phone, 3},
    {ClipGroup::secret, 2}, {ClipGroup::image, 2}, {ClipGroup::text, 2},
};

QString textFor(ClipGroup group, int i, QRandomGenerator &random)
{
    switch (group) {
    case ClipGroup::link:
        return QStringLiteral("https://www.site%1.example.com/articles/%2?ref=feed").arg(i % 400).arg(i);
    case ClipGroup::number:
        return QString::number(random.bounded(1'000'000'000));
    case ClipGroup::file:
        return QStringLiteral("/home/user/Documents/project-%1/report-%2.pdf").arg(i % 50).arg(i);
    case ClipGroup::color:
        return QStringLiteral("#%1").arg(random.bounded(0x1000000), 6, 16, QLatin1Char('0'));
    case ClipGroup::email:
        return QStringLiteral("person%1@mail.example.org").arg(i);
    case ClipGroup::phone:
        return QStringLiteral("+49 30 %1").arg(random.bounded(10'000'000));
    case ClipGroup::secret:
        return QStringLiteral("ghp_%1aBcDeFgHiJkLmNoPqRsTuVwXyZ012345").arg(i);
    default: {
        // Mostly short, some long; every 50th is longer than the kept prefix.
        const int length = i % 50 == 0 ? 6000 : 20 + int(random.bounded(600));
        QString text = QStringLiteral("clip %1: ").arg(i);
        static const QString words[] = {QStringLiteral("alpha "), QStringLiteral("return value;\n"),
                                        QStringLiteral("meeting notes "), QStringLiteral("the quick brown fox ")};
        while (text.size() < length)
            text += words[random.bounded(4)];
        return text;
    }
    }
}

ClipGroup groupFor(int i)
{
    int slot = i % 100;
    for (const GroupShare &share : shares) {
        if (slot < share.percent)
            return share.group;
        slot -= share.percent;
    }
    return ClipGroup::text;
}

QByteArray noiseThumbnail()
{
    QImage image(320, 200, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 3) & 0xFF, (y * 5) & 0xFF, random.bounded(40)));
    }
    return *pngData(image);
}

/** The synthetic history, built once per run in a temporary folder. */
struct History {
    QTemporaryDir dir;
    QString path;
    std::unique_ptr<ClipDatabase> db;
    double clock = 1'700'000'000;

    History()
    {
        path = dir.filePath(QStringLiteral("history.sqlite"));
        db = std::make_unique<ClipDatabase>(path);
        QRandomGenerator random(42);
        const QByteArray thumbnail = noiseThumbnail();
        // Bulk load through one raw transaction; the engine's own insert is measured separately.
        sqlite3 *raw = nullptr;
        sqlite3_open(QFile::encodeName(path).constData(), &raw);
        sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *insert = nullptr;
        sqlite3_prepare_v2(raw,
                           "INSERT INTO clips (kind, image_width, image_height, byte_size, source_name, "
                           "source_bundle_id, source_url, created_at, hash, dhash, detail, text, thumbnail, image, note) "
                           "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15)",
                           -1, &insert, nullptr);
        for (int i = 0; i < clipCount; ++i) {
            const ClipGroup group = groupFor(i);
            const QByteArray kind = ClipGroups::rawValue(group).toUtf8();
            sqlite3_bind_text(insert, 1, kind.constData(), -1, SQLITE_TRANSIENT);
            const QByteArray app = QStringLiteral("App %1").arg(i % 30).toUtf8();
            const QByteArray bundle = QStringLiteral("org.example.app%1").arg(i % 30).toUtf8();
            sqlite3_bind_text(insert, 5, app.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 6, bundle.constData(), -1, SQLITE_TRANSIENT);
            if (i % 7 == 0) {
                const QByteArray url = QStringLiteral("https://www.source%1.example.net/page").arg(i % 60).toUtf8();
                sqlite3_bind_text(insert, 7, url.constData(), -1, SQLITE_TRANSIENT);
            }
            sqlite3_bind_double(insert, 8, clock - (clipCount - i) * 60.0);
            const QByteArray hash = QStringLiteral("hash-%1").arg(i).toUtf8();
            sqlite3_bind_text(insert, 9, hash.constData(), -1, SQLITE_TRANSIENT);
            if (i % 10 == 3) {
                const QByteArray note = QStringLiteral("note for clip %1").arg(i).toUtf8();
                sqlite3_bind_text(insert, 15, note.constData(), -1, SQLITE_TRANSIENT);
            }
            if (group == ClipGroup::image) {
                QByteArray image(64 * 1024, Qt::Uninitialized);
                random.fillRange(reinterpret_cast<quint32 *>(image.data()), image.size() / 4);
                sqlite3_bind_int(insert, 2, 1920);
                sqlite3_bind_int(insert, 3, 1080);
                sqlite3_bind_int64(insert, 4, image.size());
                sqlite3_bind_int64(insert, 10, qint64(random.generate64()));
                sqlite3_bind_blob(insert, 13, thumbnail.constData(), int(thumbnail.size()), SQLITE_TRANSIENT);
                sqlite3_bind_blob(insert, 14, image.constData(), int(image.size()), SQLITE_TRANSIENT);
            } else {
                const QByteArray text = textFor(group, i, random).toUtf8();
                sqlite3_bind_int64(insert, 4, text.size());
                sqlite3_bind_text(insert, 12, text.constData(), int(text.size()), SQLITE_TRANSIENT);
                if (group == ClipGroup::code)
                    sqlite3_bind_text(insert, 11, "C++", -1, SQLITE_STATIC);
            }
            sqlite3_step(insert);
            sqlite3_reset(insert);
            sqlite3_clear_bindings(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(raw);
        for (int i = 0; i < 20; ++i)
            db->setPinned(clipCount - i * 997, true, clock + i);
        QList<std::pair<std::int64_t, std::int64_t>> tags;
        for (int i = 0; i < 300; ++i)
            tags.append({1 + i * 331, std::int64_t{1} << (i % 7)});
        db->setTags(tags);
    }

    static History &shared()
    {
        static History history;
        return history;
    }
};

void BM_LoadClips(benchmark::State &state)
{
    History &history = History::shared();
    qsizetype loaded = 0;
    for (auto _ : state) {
        QList<Clip> clips = history.db->loadClips();
        loaded = clips.size();
        benchmark::DoNotOptimize(clips);
    }
    state.counters["clips"] = double(loaded);
}
BENCHMARK(BM_LoadClips)->Unit(benchmark::kMillisecond);

double residentMB()
{
    long pages = 0;
    long resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// What holding the loaded list costs: resident memory with and without it.
void BM_MemoryOfLoadedClips(benchmark::State &state)
{
    History &history = History::shared();
    double before = 0;
    double after = 0;
    for (auto _ : state) {
        ClipDatabase fresh(history.path); // no thumbnails kept from earlier loads
        malloc_trim(0);
        before = residentMB();
        const QList<Clip> clips = fresh.loadClips();
        after = residentMB();
        benchmark::DoNotOptimize(clips);
    }
    state.counters["heldMB"] = after - before;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peakRSS_MB"] = double(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_MemoryOfLoadedClips)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_InsertThenPrune(benchmark::State &state)
{
    History &history = History::shared();
    const std::int64_t limit = history.db->storageUsed() - 10'000;
    int i = 0;
    for (auto _ : state) {
        ClipDatabase::NewClip clip;
        clip.text = QStringLiteral("fresh copy %1 with a little text in it").arg(i);
        clip.byteSize = clip.text->size();
        clip.createdAt = history.clock + 1000 + i;
        clip.hash = QStringLiteral("bench-%1").arg(i++);
        history.db->insert(clip);
        benchmark::DoNotOptimize(history.db->prune(limit));
    }
}
BENCHMARK(BM_InsertThenPrune)->Unit(benchmark::kMillisecond);

void BM_PruneAfterOneInsert(benchmark::State &state)
{
    History &history = History::shared();
    const std::int64_t limit = history.db->storageUsed() - 10'000;
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ClipDatabase::NewClip clip;
        clip.text = QStringLiteral("another copy %1").arg(i);
        clip.byteSize = clip.text->size();
        clip.createdAt = history.clock + 100'000 + i;
        clip.hash = QStringLiteral("prune-%1").arg(i++);
        history.db->insert(clip);
        state.ResumeTiming();
        benchmark::DoNotOptimize(history.db->prune(limit));
    }
}
BENCHMARK(BM_PruneAfterOneInsert)->Unit(benchmark::kMillisecond);

// An image capture: the near-duplicate search among images of the same size, then the insert.
void BM_InsertImage(benchmark::State &state)
{
    History &history = History::shared();
    QRandomGenerator random(99);
    int i = 0;
    for (auto _ : state) {
        ClipDatabase::NewClip clip;
        clip.group = ClipGroup::image;
        clip.image = QByteArray(4096, char(i));
        clip.imageSize = QSize(1920, 1080);
        clip.byteSize = clip.image.size();
        clip.createdAt = history.clock + 200'000 + i;
        clip.hash = QStringLiteral("image-%1").arg(i++);
        clip.dhash = random.generate64();
        benchmark::DoNotOptimize(history.db->insert(clip));
    }
}
BENCHMARK(BM_InsertImage)->Unit(benchmark::kMillisecond);

// The database side of unpinning: the edit, then the prune it triggers.
void BM_UnpinThenPrune(benchmark::State &state)
{
    History &history = History::shared();
    const std::int64_t limit = history.db->storageUsed() - 10'000;
    const std::int64_t id = history.db->loadClips().first().id;
    for (auto _ : state) {
        history.db->setPinned(id, true, history.clock);
        history.db->setPinned(id, false, 0);
        benchmark::DoNotOptimize(history.db->prune(limit));
    }
}
BENCHMARK(BM_UnpinThenPrune)->Unit(benchmark::kMillisecond);

void BM_StorageUsed(benchmark::State &state)
{
    History &history = History::shared();
    for (auto _ : state)
        benchmark::DoNotOptimize(history.db->storageUsed());
}
BENCHMARK(BM_StorageUsed)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace corvane::bench

BENCHMARK_MAIN();
