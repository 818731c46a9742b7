#pragma once

#include "ActiveWindow.h"
#include "ClipboardSource.h"

#include <QMetaObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace corvane {

class ClipboardService;
class Clock;
class TimerHandle;

/**
 * @brief Watches the clipboard: looks when it reports a change and polls its change count, judges
 * each new copy by the privacy policy, and reads the payload of the copies that may be recorded.
 *
 * Main thread; the reads themselves may run elsewhere (see ClipboardSource). A copy with nothing
 * readable yet is read again on the following ticks; when the clipboard changes meanwhile, the
 * retry is dropped and the newer copy is judged afresh.
 */
class ClipboardMonitor
{
public:
    using Payload = ClipboardPayload;

    /** @brief What the monitor reads of the settings on every copy. */
    struct Settings {
        QStringList userExclusions;    ///< ids of excluded apps
        QStringList nameRuleOverrides; ///< ids allowed despite their names
        bool imageFilesAsImages = false;
    };

    static constexpr int pollInterval = 250; ///< ms
    static constexpr int maxReads = 9;       ///< reads of one copy, one per tick
    static inline const QString unknownApp = QStringLiteral("Unknown app");

    /** `clipboard` counts changes and knows our own writes; `source` reads the copies. */
    ClipboardMonitor(ClipboardService &clipboard, ClipboardSource &source, const ActiveWindow &activeWindow, Clock &clock,
                     std::function<Settings()> settings);
    ~ClipboardMonitor();

    /**
     * Starts polling. Copies made before are not recorded, except the last one made since the
     * change count `seenBefore` (when watching was first asked for).
     */
    void start(std::optional<qint64> seenBefore = std::nullopt);
    void stop();
    /**
     * At quit: looks at the clipboard one last time, then stops polling; a read already under
     * way still delivers its copy.
     */
    void finish();
    bool isRunning() const { return m_timer != nullptr; }
    /** A payload read is under way. */
    bool isReading() const { return m_attempt && m_attempt->busy; }

    /** One tick of the poll timer. */
    void poll();

    /** The change count right after our own last write (copy back, paste queue): not recorded. */
    std::function<qint64()> ownChangeCount;
    /** A copy that may be recorded, with the app it came from. */
    std::function<void(const Payload &payload, const std::optional<AppIdentity> &app)> onCapture;
    /** A copy that was not recorded: the app's name ("Unknown app" without one) and the reason. */
    std::function<void(const QString &appName, const QString &reason)> onSkip;

private:
    struct Attempt {
        quint64 id = 0;
        qint64 changeCount = 0;
        std::optional<AppIdentity> app;
        bool secureInput = false;
        int reads = 0;
        bool busy = false; ///< a fetch is under way
    };

    void attempt();
    void judge(const ClipboardSource::Formats &formats);
    void received(std::optional<Payload> payload, bool stale);
    /** The current attempt when `id` is still it and the clipboard has not moved on. */
    Attempt *current(quint64 id);

    ClipboardService &m_clipboard;
    ClipboardSource &m_source;
    const ActiveWindow &m_activeWindow;
    Clock &m_clock;
    std::function<Settings()> m_settings;
    std::unique_ptr<TimerHandle> m_timer;
    QMetaObject::Connection m_changed;
    qint64 m_lastSeen = 0;
    std::optional<Attempt> m_attempt;
    quint64 m_nextAttempt = 0;
    /** Answers arriving after the monitor is gone are dropped. */
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace corvane
