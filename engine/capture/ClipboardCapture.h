#pragma once

#include "CaptureQueue.h"
#include "CaptureSink.h"
#include "ClipboardMonitor.h"

#include <memory>
#include <optional>

namespace corvane {

class AppSettings;

/**
 * @brief The road of one copy from the clipboard into the history: the monitor, the sink's gate
 * and the capture queue, wired together.
 *
 * Owned by the store; reads the settings on every copy, leaves out the sink's own writes, and
 * reports skips, stored clips and warnings to the sink. Main thread.
 */
class ClipboardCapture
{
public:
    /** Without a `source`, reads go through the clipboard service on the main thread. */
    ClipboardCapture(CaptureSink &sink, const AppSettings &settings, ClipboardService &clipboard,
                     const ActiveWindow &activeWindow, Clock &clock, std::unique_ptr<ClipboardSource> source = nullptr);
    ~ClipboardCapture();

    /** See ClipboardMonitor::start(). */
    void start(std::optional<qint64> seenBefore = std::nullopt) { m_monitor.start(seenBefore); }
    void stop() { m_monitor.stop(); }
    /**
     * Stops watching and runs the main thread's events until the copies under way are saved or
     * `milliseconds` have passed; returns how many were not (and logs them).
     */
    int drain(int milliseconds);

    ClipboardMonitor &monitor() { return m_monitor; }
    /** Nothing when the store has no database. */
    CaptureQueue *queue() { return m_queue.get(); }

private:
    ClipboardMonitor::Settings monitorSettings() const;
    void capture(const ClipboardPayload &payload, const std::optional<AppIdentity> &app);

    CaptureSink &m_sink;
    const AppSettings &m_settings;
    Clock &m_clock;
    std::unique_ptr<ClipboardSource> m_source;
    ClipboardMonitor m_monitor;
    std::unique_ptr<CaptureQueue> m_queue;
};

} // namespace corvane
