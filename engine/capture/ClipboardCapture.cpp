#include "ClipboardCapture.h"

#include "Clock.h"
#include "X11ClipboardSource.h"

#include <QGuiApplication>

namespace corvane {

ClipboardCapture::ClipboardCapture(ClipboardService &clipboard, const ActiveWindow &activeWindow, Clock &clock,
                                   ClipDatabase *database, std::function<Settings()> settings,
                                   std::function<bool()> isPaused, std::unique_ptr<ClipboardSource> source)
    : m_clock(clock),
      m_settings(std::move(settings)),
      m_isPaused(std::move(isPaused)),
      m_source(source ? std::move(source) : defaultSource(clipboard)),
      m_monitor(clipboard, *m_source, activeWindow, clock, [this] { return m_settings().monitor; })
{
    if (database) {
        m_queue = std::make_unique<CaptureQueue>(*database);
        m_queue->onClipsRecorded = [this](const QList<std::int64_t> &ids) {
            if (onClipsRecorded)
                onClipsRecorded(ids);
        };
        m_queue->onCaptureFeedback = [this] {
            if (onCaptureFeedback)
                onCaptureFeedback();
        };
        m_queue->onCaptureWarning = [this](const QString &message) {
            if (onCaptureWarning)
                onCaptureWarning(message);
        };
    }
    m_monitor.onSkip = [this](const QString &appName, const QString &reason) {
        if (onSkip)
            onSkip(appName, reason);
    };
    m_monitor.onCapture = [this](const ClipboardPayload &payload, const std::optional<AppIdentity> &app) {
        capture(payload, app);
    };
}

ClipboardCapture::~ClipboardCapture() = default;

std::unique_ptr<ClipboardSource> ClipboardCapture::defaultSource(ClipboardService &clipboard)
{
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto source = X11ClipboardSource::create())
            return source;
        qWarning("Corvane: no private X connection for clipboard reads; reading on the main thread");
    }
    return std::make_unique<DirectClipboardSource>(clipboard);
}

bool ClipboardCapture::admits(const ClipboardPayload &payload, bool isPaused, bool hasDatabase, bool recordImages)
{
    return !isPaused && hasDatabase && (recordImages || !payload.isImage());
}

void ClipboardCapture::capture(const ClipboardPayload &payload, const std::optional<AppIdentity> &app)
{
    const Settings settings = m_settings();
    const bool paused = m_isPaused && m_isPaused();
    if (!admits(payload, paused, m_queue != nullptr, settings.recordImages))
        return;
    CaptureRequest request;
    request.payload = payload;
    if (app && !app->name.isEmpty())
        request.sourceName = app->name;
    if (app && !app->id.isEmpty())
        request.sourceBundleID = app->id;
    request.date = double(m_clock.now().toMSecsSinceEpoch()) / 1000.0;
    request.storageLimit = settings.storageLimit;
    m_queue->enqueue(std::move(request));
}

} // namespace corvane
