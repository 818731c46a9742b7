#include "ClipboardCapture.h"

#include "AppSettings.h"
#include "Clock.h"
#include "Logging.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace corvane {

namespace {

QStringList bundleIDs(const QList<ExcludedApp> &apps)
{
    QStringList ids;
    for (const ExcludedApp &app : apps)
        ids << app.bundleID;
    return ids;
}

} // namespace

ClipboardCapture::ClipboardCapture(CaptureSink &sink, const AppSettings &settings, ClipboardService &clipboard,
                                   const ActiveWindow &activeWindow, Clock &clock, std::unique_ptr<ClipboardSource> source)
    : m_sink(sink)
    , m_settings(settings)
    , m_clock(clock)
    , m_source(source ? std::move(source) : std::make_unique<DirectClipboardSource>(clipboard))
    , m_monitor(clipboard, *m_source, activeWindow, clock, [this] { return monitorSettings(); })
{
    m_monitor.ownChangeCount = [this] { return m_sink.ownChangeCount(); };
    m_monitor.onSkip = [this](const QString &appName, const QString &reason) { m_sink.recordSkip(appName, reason); };
    m_monitor.onCapture
        = [this](const ClipboardPayload &payload, const std::optional<AppIdentity> &app) { capture(payload, app); };
    if (const std::shared_ptr<ClipDatabase> database = sink.sharedDatabase()) {
        m_queue = std::make_unique<CaptureQueue>(database);
        m_queue->onClipsRecorded = [this](const QList<std::int64_t> &ids, const std::optional<QList<std::int64_t>> &pruned) {
            m_sink.clipsRecorded(ids, pruned);
        };
        m_queue->onCaptureWarning = [this](const QString &message) { m_sink.captureWarning(message); };
        m_queue->onCaptureSkipped = [this](const QString &appName, const QString &reason) { m_sink.recordSkip(appName, reason); };
    }
}

ClipboardCapture::~ClipboardCapture() = default;

int ClipboardCapture::drain(int milliseconds)
{
    m_monitor.finish();
    const auto unfinished = [this] { return int(m_monitor.isReading()) + (m_queue ? m_queue->pendingCount() : 0); };
    QDeadlineTimer deadline(milliseconds);
    while (unfinished() > 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, int(std::max<qint64>(1, deadline.remainingTime())));
    m_monitor.stop();
    const int left = unfinished();
    if (left > 0)
        qCWarning(logCapture, "Corvane: quitting before %d cop%s could be saved", left, left == 1 ? "y" : "ies");
    return left;
}

ClipboardMonitor::Settings ClipboardCapture::monitorSettings() const
{
    return {bundleIDs(m_settings.userExclusions()), bundleIDs(m_settings.nameRuleOverrides()), m_settings.finderImagesAsImages()};
}

void ClipboardCapture::capture(const ClipboardPayload &payload, const std::optional<AppIdentity> &app)
{
    if (!m_queue || !m_sink.acceptsCapture(payload.isImage()))
        return;
    CaptureRequest request;
    request.payload = payload;
    if (app && !app->name.isEmpty())
        request.sourceName = app->name;
    if (app && !app->id.isEmpty())
        request.sourceBundleID = app->id;
    request.date = double(m_clock.now().toMSecsSinceEpoch()) / 1000.0;
    request.storageLimit = m_settings.storageLimit();
    m_queue->enqueue(std::move(request));
}

} // namespace corvane
