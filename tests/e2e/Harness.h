#pragma once
// Drives the real corvane on its own X server the way a person does: a window manager, an XEmbed
// tray, the real clipboard, XTest input. Every wait also watches the app: a stalled event loop or
// runaway memory fails the case within seconds.
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace e2e {

/** Pings the app's event loop through X (_NET_WM_PING) and samples its memory, off the test thread. */
class Watchdog
{
public:
    Watchdog(qint64 pid, quint32 window);
    ~Watchdog();
    /** Why the app counts as hung or runaway; empty while it is healthy. */
    std::string trouble() const;
    qint64 rssGrowthKb() const { return m_peakKb - m_baseKb; }

private:
    void run();
    qint64 m_pid;
    quint32 m_window;
    std::atomic<bool> m_stop{false};
    std::atomic<qint64> m_baseKb{0};
    std::atomic<qint64> m_peakKb{0};
    mutable std::mutex m_mutex;
    std::string m_trouble;
    std::thread m_thread;
};

class Harness : public ::testing::Test
{
public:
    /** Memory the app may grow by during one case before it counts as runaway. */
    static constexpr qint64 rssLimitKb = 400 * 1024;

protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

public:
    void startApp();
    void stopApp();
    /** Copies each text through the real clipboard, in order, and waits until all are stored. */
    void seedText(const QStringList &texts);
    /** One copy offering the given formats (MIME type, bytes); waits until it is stored. */
    void seedFormats(const QList<QPair<QString, QByteArray>> &formats);
    int storedClips();
    /** The first column of the first row an SQL query of the history gives, as text. */
    QString queryHistory(const QByteArray &sql);
    /** The CLIPBOARD's text as another program reads it. */
    QString clipboardText();

    /** Clicks the tray icon and waits until the popover is shown and active. */
    void openPopover();
    bool popoverShown();
    QRect popoverGeometry();
    /** A point inside the popover, relative to its top-left corner. */
    QPoint inPopover(int x, int y);

    void wheel(QPoint at, int notches, bool horizontal = false); // positive: down (right)
    void key(const QString &keys);                               // xdotool key names: "ctrl+1 Escape"
    void type(const QString &text);
    void click(QPoint at, int button = 1);
    void rightClick(QPoint at) { click(at, 3); }
    void moveTo(QPoint at);
    void dragTo(QPoint from, QPoint to);
    /** Shows the drop-target window left on the screen; returns its centre. */
    QPoint showDropTarget();
    /** What the drop target received, by format, once a drop arrived (waits for it). */
    QMap<QString, QByteArray> dropped(int ms = 10000);
    /** Saves the popover (or the whole screen) to build/artifacts/e2e/<name>.png. */
    QImage screenshot(const QString &name, bool wholeScreen = false);

    /** A screenshot once the popover has stopped animating (two shots in a row alike). */
    QImage steadyScreenshot(const QString &name);
    /** Whether two pictures differ by more than anti-aliasing noise. */
    static bool imagesDiffer(const QImage &a, const QImage &b);

    /** Waits for @p condition while the app stays healthy; fails the case on a hang. */
    bool waitFor(const std::function<bool()> &condition, int ms = 15000);
    /** Fails the case when the watchdog saw a stall or runaway memory. */
    void expectHealthy();
    /** How the app ended: its exit code, or a crash and where its stacks were written. */
    QString whyGone();
    /** Lets the app settle: its event loop answers and a few frames pass. */
    void settle(int ms = 300);

    int run(const QString &program, const QStringList &args, QByteArray *out = nullptr, int timeoutMs = 20000);
    QString log();
    quint32 activeWindow();
    /** The main window's X window; a new one each time it is shown. */
    quint32 findMainWindow();
    /** The tray icon's X window inside the tray; 0 until it docked. */
    quint32 trayIcon();
    QByteArray windowType(quint32 window);
    QRect windowGeometry(quint32 window);
    bool windowViewable(quint32 window);
    QList<quint32> visibleWindows(const QString &name);

    /** Cleared by a case that wants the first run's welcome tour; set, it is marked as seen. */
    bool welcomeTourSeen = true;
    QTemporaryDir home;
    qint64 appPid = 0;
    QProcessEnvironment env;
    QProcess app;
    quint32 mainWindow = 0;
    quint32 popover = 0;
    std::unique_ptr<Watchdog> watchdog;
    QProcess dropTarget;
};

} // namespace e2e

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QRect &r, std::ostream *out) { *out << r.width() << 'x' << r.height() << '+' << r.x() << '+' << r.y(); }
QT_END_NAMESPACE
