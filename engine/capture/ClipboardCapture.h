#pragma once

#include "CaptureQueue.h"
#include "ClipboardMonitor.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace corvane {

/**
 * @brief The road of one copy from the clipboard into the history: the monitor, the gate and
 * the capture queue, wired together for the store.
 *
 * The store supplies its state (paused, settings) as functions read on every copy and receives
 * results through the callbacks, all on the main thread. Without a database nothing is recorded.
 */
class ClipboardCapture {
public:
    /** @brief The settings read on every copy. */
    struct Settings {
        ClipboardMonitor::Settings monitor;
        bool recordImages = true;
        std::int64_t storageLimit = 0;
    };

    /** Without a `source`, the default one for the session. */
    ClipboardCapture(ClipboardService &clipboard, const ActiveWindow &activeWindow, Clock &clock,
                     ClipDatabase *database, std::function<Settings()> settings, std::function<bool()> isPaused,
                     std::unique_ptr<ClipboardSource> source = nullptr);
    ~ClipboardCapture();

    /** Whether a copy goes on to the capture queue. */
    static bool admits(const ClipboardPayload &payload, bool isPaused, bool hasDatabase, bool recordImages);

    void start() { m_monitor.start(); }
    void stop() { m_monitor.stop(); }
    /** Our own write (copy back, paste queue) left the clipboard at this change count. */
    void recordOwnWrite(qint64 changeCount) { m_monitor.recordOwnWrite(changeCount); }

    ClipboardMonitor &monitor() { return m_monitor; }
    /** The X11 reader when the session has one, else reads through the clipboard service. */
    static std::unique_ptr<ClipboardSource> defaultSource(ClipboardService &clipboard);
    /** Nothing without a database. */
    CaptureQueue *queue() { return m_queue.get(); }

    /** A copy skipped by the privacy policy: the app's name and the reason. */
    std::function<void(const QString &appName, const QString &reason)> onSkip;
    /** Clips stored (new, bumped or replaced), oldest first, once per burst. */
    std::function<void(const QList<std::int64_t> &ids)> onClipsRecorded;
    /** Something was stored: flash the status icon. */
    std::function<void()> onCaptureFeedback;
    /** A copy could not be stored; the text is for a warning notice. */
    std::function<void(const QString &message)> onCaptureWarning;

private:
    void capture(const ClipboardPayload &payload, const std::optional<AppIdentity> &app);

    Clock &m_clock;
    std::function<Settings()> m_settings;
    std::function<bool()> m_isPaused;
    std::unique_ptr<ClipboardSource> m_source;
    ClipboardMonitor m_monitor;
    std::unique_ptr<CaptureQueue> m_queue;
};

} // namespace corvane
