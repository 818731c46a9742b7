// The sidebar's work at 100,000 clips from 300 sources: counts and ranked sources after a reload,
// and one keystroke in the sources popover's filter.
#include "AppSettings.h"
#include "ClipDatabase.h"
#include "ClipboardStore.h"
#include "DerivedLists.h"
#include "FakeClipboardService.h"
#include "FakeClock.h"
#include "SourcePickerModel.h"
#include "SourceRules.h"

#include <QGuiApplication>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

using namespace corvane;

namespace {

constexpr int clipCount = 100'000;
constexpr int sourceCount = 300;

QString sourceName(int s)
{
    static const QStringList stems{"Firefox", "Terminal",    "Text Editor", "LibreOffice", "Files",
                                   "Builder", "Thunderbird", "Inkscape",    "Kate",        "Okular"};
    return QStringLiteral("%1 %2").arg(stems[s % stems.size()]).arg(s);
}

/** Clips spread over the sources (a few very busy, most rare), a fifth from websites. */
QList<Clip> history()
{
    std::mt19937 random(7);
    std::geometric_distribution<int> busy(0.02);
    QList<Clip> clips;
    clips.reserve(clipCount);
    for (int i = 0; i < clipCount; ++i) {
        Clip clip;
        clip.id = i + 1;
        clip.group = ClipGroups::allCases[random() % ClipGroups::allCases.size()];
        clip.setText(QStringLiteral("clip %1").arg(i));
        clip.createdAt = 1.7e9 - double(i) * 300.0;
        const int s = std::min(busy(random), sourceCount - 1);
        if (s % 5 == 4)
            clip.origin = SharedClipOrigin({std::nullopt, std::nullopt, QStringLiteral("https://site%1.example.org/page").arg(s)});
        else
            clip.origin = SharedClipOrigin({sourceName(s), QStringLiteral("org.example.app%1").arg(s), std::nullopt});
        clip.isPinned = i % 5000 == 0;
        if (i % 300 == 0)
            clip.tagMask = ColorTags::bit(ColorTag(i % 7));
        clips.append(clip);
    }
    return clips;
}

const ClipCollection &collection()
{
    static ClipCollection clips = [] {
        ClipCollection c;
        c.replace(history(), QTimeZone::utc());
        return c;
    }();
    return clips;
}

/** What the sidebar works out once per reload: every count, the ranked sources, its rows and button. */
void BM_SidebarCountsAndSourcesAfterReload(benchmark::State &state)
{
    const ClipCollection &clips = collection();
    const QStringList kept{"org.example.app3"};
    const QStringList hidden{"org.example.app0", "gone.app"};
    for (auto _ : state) {
        const DerivedLists::FilterCounts counts = DerivedLists::filterCounts(clips);
        const QList<SourceApp> sources = DerivedLists::sources(clips);
        const QList<SourceApp> rows = DerivedLists::sidebarSources(sources, kept, hidden);
        benchmark::DoNotOptimize(counts.pinned);
        benchmark::DoNotOptimize(SourceRules::showAllVisible(sources, int(rows.size()), hidden));
    }
    state.counters["sources"] = double(DerivedLists::sources(clips).size());
}

/** One keystroke in the popover's filter field: the 300 sources filtered into its list model. */
void BM_SourceFilterKeystroke(benchmark::State &state)
{
    QTemporaryDir dir;
    QSettings file(dir.filePath("settings.ini"), QSettings::IniFormat);
    AppSettings settings(&file, nullptr);
    FakeClock clock;
    FakeClipboardService clipboard;
    ClipboardStore::Services services;
    services.settings = &settings;
    services.clipboard = &clipboard;
    services.clock = &clock;
    services.databasePath = dir.filePath("history.sqlite");
    services.timeZone = QTimeZone::utc();
    ClipboardStore store(services);
    for (int s = 0; s < sourceCount; ++s) {
        ClipDatabase::NewClip clip;
        clip.text = QStringLiteral("clip of %1").arg(s);
        clip.sourceBundleID = QStringLiteral("org.example.app%1").arg(s);
        clip.sourceName = sourceName(s);
        clip.createdAt = 1.7e9 - s;
        clip.hash = clip.text.value();
        store.database()->insert(clip);
    }
    store.reload();
    SourcePickerModel picker;
    picker.setStore(&store);
    const QStringList typed{"l", "li", "lib", "libr", "libre", "libreo", "libre", "libr", "lib", "li", "l", ""};
    int k = 0;
    for (auto _ : state)
        picker.setQuery(typed[k++ % typed.size()]);
    state.counters["sources"] = double(picker.total());
}

} // namespace

BENCHMARK(BM_SidebarCountsAndSourcesAfterReload)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SourceFilterKeystroke)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
