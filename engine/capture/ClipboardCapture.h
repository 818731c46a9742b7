#pragma once

#include "CaptureQueue.h"
#include "ClipboardMonitor.h"

#include <memory>

namespace corvane {

class ClipboardStore;

/**
 * @brief The road of one copy from the clipboard into the store's history: the monitor, the
 * store's gate and the capture queue, wired together.
 *
 * Owned by the store; reads its settings on every copy, leaves out the store's own writes, and
 * reports skips, stored clips and warnings back to it. Main thread.
 */
class ClipboardCapture {
public:
    /** Without a `source`, the default one for the session (see defaultSource). */
    ClipboardCapture(ClipboardStore &store, ClipboardService &clipboard, const ActiveWindow &activeWindow,
                     Clock &clock, std::unique_ptr<ClipboardSource> source = nullptr);
    ~ClipboardCapture();

    void start() { m_monitor.start(); }
    void stop() { m_monitor.stop(); }
    /**
     * Stops watching and runs the main thread's events until the copies under way are saved or
     * `milliseconds` have passed; returns how many were not (and logs them).
     */
    int drain(int milliseconds);

    ClipboardMonitor &monitor() { return m_monitor; }
    /** Nothing when the store has no database. */
    CaptureQueue *queue() { return m_queue.get(); }

    /** The X11 reader thread when the session has X11, else reads through the clipboard service. */
    static std::unique_ptr<ClipboardSource> defaultSource(ClipboardService &clipboard);

private:
    ClipboardMonitor::Settings monitorSettings() const;
    void capture(const ClipboardPayload &payload, const std::optional<AppIdentity> &app);

    ClipboardStore &m_store;
    Clock &m_clock;
    std::unique_ptr<ClipboardSource> m_source;
    ClipboardMonitor m_monitor;
    std::unique_ptr<CaptureQueue> m_queue;
};

} // namespace corvane
