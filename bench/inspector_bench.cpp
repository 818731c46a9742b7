// The inspector's hot paths: the detail scan (off the GUI thread, but it must keep up with the
// selection) and drawing a link's QR code.
#include "DetectDetails.h"
#include "QrCode.h"
#include "SyntheticClips.h"

#include <benchmark/benchmark.h>

namespace {

using namespace corvane;

DetectContext context()
{
    DetectContext c;
    c.now = QDateTime(QDate(2026, 3, 2), QTime(10, 0), QTimeZone::utc());
    c.timeZone = QTimeZone::utc();
    c.region = QStringLiteral("US");
    c.locale = QLocale(QStringLiteral("en_US"));
    return c;
}

QString mixedText()
{
    const QString part
        = QStringLiteral("Team dinner March 14 at 7pm at 221B Baker Street, London NW1 6XE. Call (415) 555-2671 if late; "
                         "menu at https://example.com/menu and mail ada@example.com. Flying BA 283 on 2026-04-07T09:30Z. "
                         "Some ordinary prose follows here with numbers like 42, 3.14 and version 1.2.3 to keep it honest. ");
    QString text;
    while (text.size() < 5000)
        text += part;
    return text.left(5000);
}

void BM_DetectDetails5000Mixed(benchmark::State &state)
{
    const QString text = mixedText();
    const DetectContext c = context();
    for (auto _ : state)
        benchmark::DoNotOptimize(detectDetails(text, 6, c));
}
BENCHMARK(BM_DetectDetails5000Mixed)->Unit(benchmark::kMillisecond);

void BM_DetectDetails1000TypicalClips(benchmark::State &state)
{
    const QList<QString> clips = bench::syntheticClips(1000);
    const DetectContext c = context();
    for (auto _ : state) {
        for (const QString &clip : clips)
            benchmark::DoNotOptimize(detectDetails(clip, 6, c));
    }
}
BENCHMARK(BM_DetectDetails1000TypicalClips)->Unit(benchmark::kMillisecond);

void BM_QrCode700ByteUrl(benchmark::State &state)
{
    const QByteArray url = "https://example.com/" + QByteArray(680, 'a');
    for (auto _ : state) {
        const auto matrix = encodeQr(url);
        benchmark::DoNotOptimize(renderQr(*matrix));
    }
}
BENCHMARK(BM_QrCode700ByteUrl)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
