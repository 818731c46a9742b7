#include "Harness.h"

#include "ThrowAwayHome.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QThread>

#include <sqlite3.h>
#include <xcb/xcb.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

namespace e2e {
namespace {

QProcess *g_windowManager = nullptr;
QProcess *g_tray = nullptr;
QTemporaryDir *g_desktopHome = nullptr;

qint64 rssKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

xcb_atom_t internAtom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : XCB_NONE;
    std::free(reply);
    return atom;
}

// The X window ids xdotool prints, one per line.
QList<quint32> windowIds(const QByteArray &out)
{
    QList<quint32> ids;
    for (const QByteArray &line : out.split('\n')) {
        bool ok = false;
        const quint32 id = line.trimmed().toUInt(&ok);
        if (ok)
            ids.append(id);
    }
    return ids;
}

void runQuietly(const QStringList &command)
{
    QProcess process;
    process.start(command.first(), command.mid(1));
    process.waitForFinished(10000);
}

} // namespace

Watchdog::Watchdog(qint64 pid, quint32 window)
    : m_pid(pid)
    , m_window(window)
{
    m_baseKb = m_peakKb = rssKb(pid);
    m_thread = std::thread([this] { run(); });
}

Watchdog::~Watchdog()
{
    m_stop = true;
    m_thread.join();
}

std::string Watchdog::trouble() const
{
    std::lock_guard lock(m_mutex);
    return m_trouble;
}

void Watchdog::run()
{
    // Under a loaded machine an answer may take a while; a stalled loop never answers at all.
    constexpr int stallMs = 6000;
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    // Qt sends its answer to the root window for StructureNotify listeners.
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t protocols = internAtom(c, "WM_PROTOCOLS");
    const xcb_atom_t ping = internAtom(c, "_NET_WM_PING");
    quint32 serial = 1;
    quint32 answered = 0;
    QElapsedTimer sinceAnswer;
    sinceAnswer.start();
    QElapsedTimer sincePing;
    sincePing.start();
    auto fail = [this](const std::string &why) {
        std::lock_guard lock(m_mutex);
        if (m_trouble.empty())
            m_trouble = why;
    };
    while (!m_stop) {
        if (sincePing.elapsed() >= 250) {
            sincePing.restart();
            xcb_client_message_event_t event{};
            event.response_type = XCB_CLIENT_MESSAGE;
            event.format = 32;
            event.window = m_window;
            event.type = protocols;
            event.data.data32[0] = ping;
            event.data.data32[1] = ++serial;
            event.data.data32[2] = m_window;
            xcb_send_event(c, 0, m_window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
            xcb_flush(c);
            const qint64 rss = rssKb(m_pid);
            if (rss > m_peakKb)
                m_peakKb = rss;
            if (rss - m_baseKb > Harness::rssLimitKb)
                fail("memory grew by " + std::to_string((rss - m_baseKb) / 1024) + " MB");
        }
        while (xcb_generic_event_t *event = xcb_poll_for_event(c)) {
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                auto *message = reinterpret_cast<xcb_client_message_event_t *>(event);
                if (message->data.data32[0] == ping && message->data.data32[2] == m_window
                    && message->data.data32[1] > answered) {
                    answered = message->data.data32[1];
                    sinceAnswer.restart();
                }
            }
            std::free(event);
        }
        if (sinceAnswer.elapsed() > stallMs)
            fail("the event loop did not answer for " + std::to_string(sinceAnswer.elapsed()) + " ms");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    xcb_disconnect(c);
}

void Harness::SetUpTestSuite()
{
    // One desktop for all cases of the program: a window manager and a tray along the top edge.
    g_desktopHome = new QTemporaryDir;
    QProcessEnvironment desktopEnv = QProcessEnvironment::systemEnvironment();
    desktopEnv.insert(QStringLiteral("HOME"), g_desktopHome->path());
    desktopEnv.insert(QStringLiteral("XDG_CONFIG_HOME"), g_desktopHome->filePath(QStringLiteral("config")));
    g_windowManager = new QProcess;
    g_windowManager->setProcessEnvironment(desktopEnv);
    g_windowManager->setStandardErrorFile(g_desktopHome->filePath(QStringLiteral("openbox.log")));
    g_windowManager->start(QStringLiteral("openbox"), {});
    QElapsedTimer timer;
    timer.start();
    auto rootHas = [](const char *property) {
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QString::fromLatin1(property)});
        xprop.waitForFinished(10000);
        return xprop.readAllStandardOutput().contains("window id");
    };
    while (!rootHas("_NET_SUPPORTING_WM_CHECK") && timer.elapsed() < 20000)
        QThread::msleep(50);
    g_tray = new QProcess;
    g_tray->setProcessEnvironment(desktopEnv);
    g_tray->setStandardErrorFile(g_desktopHome->filePath(QStringLiteral("trayer.log")));
    g_tray->start(QStringLiteral("trayer"),
                  {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"), QStringLiteral("right"),
                   QStringLiteral("--widthtype"), QStringLiteral("pixel"), QStringLiteral("--width"), QStringLiteral("120"),
                   QStringLiteral("--height"), QStringLiteral("28"), QStringLiteral("--SetDockType"), QStringLiteral("true"),
                   QStringLiteral("--SetPartialStrut"), QStringLiteral("true"), QStringLiteral("--transparent"),
                   QStringLiteral("false"), QStringLiteral("--tint"), QStringLiteral("0x303030")});
    timer.restart();
    while (timer.elapsed() < 20000) {
        QProcess search;
        search.start(
            QStringLiteral("xdotool"),
            {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--class"), QStringLiteral("trayer")});
        search.waitForFinished(10000);
        if (search.exitCode() == 0)
            break;
        QThread::msleep(50);
    }
}

void Harness::TearDownTestSuite()
{
    for (QProcess *process : {g_tray, g_windowManager}) {
        if (!process)
            continue;
        process->terminate();
        if (!process->waitForFinished(3000))
            process->kill();
        delete process;
    }
    g_tray = g_windowManager = nullptr;
    delete g_desktopHome;
    g_desktopHome = nullptr;
}

void Harness::SetUp()
{
    ASSERT_TRUE(home.isValid());
    env = corvane::test::throwAwayHomeEnvironment(home);
}

void Harness::TearDown()
{
    if (HasFailure())
        std::fprintf(stderr, "corvane said:\n%s\n", qPrintable(log()));
    stopApp();
    if (dropTarget.state() != QProcess::NotRunning) {
        dropTarget.kill();
        dropTarget.waitForFinished(3000);
    }
    // Nothing held down leaks into the next case.
    runQuietly({QStringLiteral("xdotool"), QStringLiteral("mouseup"), QStringLiteral("1")});
}

void Harness::startApp()
{
    // The tour opens over the main window on a first run; cases about other screens skip it.
    QSettings settings(home.filePath(QStringLiteral("config/Corvane/Corvane.conf")), QSettings::IniFormat);
    if (welcomeTourSeen)
        settings.setValue(QStringLiteral("didShowWelcomeTour.v2"), true);
    settings.sync();
    app.setProcessEnvironment(env);
    // A crash leaves a core in the home, for whyGone() to read before the home goes.
    app.setWorkingDirectory(home.path());
    app.setChildProcessModifier([] {
        const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
        setrlimit(RLIMIT_CORE, &unlimited);
    });
    app.setStandardErrorFile(home.filePath(QStringLiteral("corvane.log")), QIODevice::Append);
    app.setStandardOutputFile(home.filePath(QStringLiteral("corvane.log")), QIODevice::Append);
    app.start(QStringLiteral(CORVANE_EXECUTABLE), {});
    ASSERT_TRUE(app.waitForStarted());
    appPid = app.processId();
    waitFor([&] { return (mainWindow = findMainWindow()) != 0; }, 30000);
    ASSERT_NE(mainWindow, 0u) << "the main window never appeared";
    // The window manager focuses a new window a moment after it maps it; a popover opened before
    // that would lose its focus to the main window and close.
    waitFor([&] { return activeWindow() == mainWindow; }, 10000);
    // The icon's window lives as long as the app; Qt makes new windows each time it shows the
    // main window or the popover, so the event loop is pinged through the icon.
    quint32 icon = 0;
    waitFor([&] { return (icon = trayIcon()) != 0; }, 40000);
    ASSERT_NE(icon, 0u) << "the tray icon never docked";
    watchdog = std::make_unique<Watchdog>(app.processId(), icon);
}

quint32 Harness::findMainWindow()
{
    for (quint32 window : visibleWindows(QStringLiteral("^Corvane$"))) {
        if (windowType(window) == "_NET_WM_WINDOW_TYPE_NORMAL")
            return window;
    }
    return 0;
}

quint32 Harness::trayIcon()
{
    QByteArray out;
    run(QStringLiteral("xdotool"),
        {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--class"), QStringLiteral("trayer")}, &out);
    const QRect tray = windowGeometry(windowIds(out).value(0));
    for (quint32 window : visibleWindows(QStringLiteral(".*"))) {
        const QRect geometry = windowGeometry(window);
        if (tray.contains(geometry.center()) && geometry.width() < 64)
            return window;
    }
    return 0;
}

void Harness::stopApp()
{
    watchdog.reset();
    if (app.state() != QProcess::NotRunning) {
        app.terminate();
        if (!app.waitForFinished(10000))
            app.kill();
        app.waitForFinished(3000);
    }
    mainWindow = popover = 0;
}

QString Harness::log()
{
    QFile file(home.filePath(QStringLiteral("corvane.log")));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

int Harness::run(const QString &program, const QStringList &args, QByteArray *out, int timeoutMs)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return -1;
    }
    if (out)
        *out = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool Harness::waitFor(const std::function<bool()> &condition, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (true) {
        if (condition())
            return true;
        if (watchdog && !watchdog->trouble().empty()) {
            ADD_FAILURE() << "corvane is hung: " << watchdog->trouble();
            // CORVANE_E2E_BACKTRACE=1: the GUI thread's stack goes to the artifacts first.
            if (qEnvironmentVariableIsSet("CORVANE_E2E_BACKTRACE"))
                run(QStringLiteral("sh"),
                    {QStringLiteral("-c"),
                     QStringLiteral("gdb -batch -p %1 -ex 'thread apply 1 bt 120' > '%2/e2e/backtrace-%1.txt' 2>&1")
                         .arg(app.processId())
                         .arg(QStringLiteral(CORVANE_ARTIFACTS_DIR))},
                    nullptr, 90000);
            // Stop a runaway before it takes the machine's memory.
            ::kill(static_cast<pid_t>(app.processId()), SIGKILL);
            return false;
        }
        if (app.state() != QProcess::Running) {
            ADD_FAILURE() << "corvane is gone: " << whyGone().toStdString();
            return false;
        }
        if (timer.elapsed() > ms)
            return false;
        QCoreApplication::processEvents();
        QThread::msleep(40);
    }
}

void Harness::expectHealthy()
{
    ASSERT_TRUE(watchdog);
    EXPECT_EQ(watchdog->trouble(), "");
    if (app.state() != QProcess::Running)
        ADD_FAILURE() << "corvane is gone: " << whyGone().toStdString();
}

QString Harness::whyGone()
{
    app.waitForFinished(3000);
    if (app.exitStatus() == QProcess::NormalExit)
        return QStringLiteral("it exited with code %1").arg(app.exitCode());
    QString why = QStringLiteral("it crashed");
    const QString pid = QString::number(appPid); // processId() is 0 once it has ended
    for (const QString &name : {QStringLiteral("core.") + pid, QStringLiteral("core")}) {
        const QString core = home.filePath(name);
        if (!QFileInfo::exists(core))
            continue;
        const QString report = QStringLiteral(CORVANE_ARTIFACTS_DIR "/e2e/crash-%1.txt").arg(pid);
        QDir().mkpath(QFileInfo(report).path());
        run(QStringLiteral("sh"),
            {QStringLiteral("-c"), QStringLiteral("gdb -batch -ex 'thread apply all bt 60' '%1' '%2' > '%3' 2>&1")
                                       .arg(QStringLiteral(CORVANE_EXECUTABLE), core, report)},
            nullptr, 120000);
        why += QStringLiteral("; its stacks are in ") + report;
        break;
    }
    return why;
}

void Harness::settle(int ms)
{
    QElapsedTimer timer;
    timer.start();
    waitFor([&] { return timer.elapsed() >= ms; }, ms + 1000);
}

int Harness::storedClips()
{
    bool ok = false;
    const int count = queryHistory("SELECT count(*) FROM clips").toInt(&ok);
    return ok ? count : -1;
}

QString Harness::queryHistory(const QByteArray &sql)
{
    const QByteArray path = home.filePath(QStringLiteral("data/Corvane/history.sqlite")).toUtf8();
    sqlite3 *db = nullptr;
    QString value;
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(db, 2000);
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &statement, nullptr) == SQLITE_OK
            && sqlite3_step(statement) == SQLITE_ROW)
            value = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return value;
}

QString Harness::clipboardText()
{
    QByteArray out;
    run(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"), QStringLiteral("clipboard")}, &out, 5000);
    return QString::fromUtf8(out);
}

void Harness::seedText(const QStringList &texts)
{
    QStringList copies;
    for (const QString &text : texts)
        copies.append(QStringLiteral("text:") + text);
    const int before = std::max(0, storedClips());
    ASSERT_EQ(run(QStringLiteral(CORVANE_CLIP_OWNER), copies, nullptr, 60000), 0) << "the clipboard owner failed";
    ASSERT_TRUE(waitFor([&] { return storedClips() >= before + int(texts.size()); }, 20000))
        << "stored " << storedClips() - before << " of " << texts.size() << " copies";
}

void Harness::seedFormats(const QList<QPair<QString, QByteArray>> &formats)
{
    QStringList parts;
    for (const auto &[mime, bytes] : formats) {
        QFile file(home.filePath(QStringLiteral("seed-%1").arg(parts.size())));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        parts.append(mime + QLatin1Char('=') + file.fileName());
    }
    const int before = std::max(0, storedClips());
    ASSERT_EQ(run(QStringLiteral(CORVANE_CLIP_OWNER), {parts.join(QLatin1Char(','))}, nullptr, 60000), 0);
    ASSERT_TRUE(waitFor([&] { return storedClips() > before; }, 20000)) << "the copy was not stored";
}

QList<quint32> Harness::visibleWindows(const QString &name)
{
    QByteArray out;
    run(QStringLiteral("xdotool"),
        {QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
         QString::number(app.processId()), QStringLiteral("--name"), name},
        &out);
    return windowIds(out);
}

QByteArray Harness::windowType(quint32 window)
{
    QByteArray out;
    run(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window), QStringLiteral("_NET_WM_WINDOW_TYPE")}, &out);
    const qsizetype at = out.indexOf("= ");
    return at < 0 ? QByteArray() : out.mid(at + 2).split(',').value(0).trimmed();
}

quint32 Harness::activeWindow()
{
    QByteArray out;
    run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}, &out);
    return windowIds(out).value(0);
}

QRect Harness::windowGeometry(quint32 window)
{
    QByteArray out;
    run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::number(window)},
        &out);
    QRect rect;
    for (const QByteArray &line : out.split('\n')) {
        const QList<QByteArray> pair = line.split('=');
        if (pair.size() != 2)
            continue;
        const int value = pair[1].toInt();
        if (pair[0] == "X")
            rect.moveLeft(value);
        else if (pair[0] == "Y")
            rect.moveTop(value);
        else if (pair[0] == "WIDTH")
            rect.setWidth(value);
        else if (pair[0] == "HEIGHT")
            rect.setHeight(value);
    }
    return rect;
}

bool Harness::windowViewable(quint32 window)
{
    QByteArray out;
    run(QStringLiteral("xdotool"),
        {QStringLiteral("search"), QStringLiteral("--all"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
         QString::number(app.processId()), QStringLiteral("--name"), QStringLiteral(".*")},
        &out);
    return windowIds(out).contains(window);
}

void Harness::openPopover()
{
    ASSERT_EQ(app.state(), QProcess::Running);
    QByteArray out;
    QElapsedTimer timer;
    timer.start();
    // The icon sits in the tray once Corvane has docked it; click it until the popover answers.
    while (timer.elapsed() < 30000) {
        const quint32 icon = trayIcon();
        if (icon != 0)
            click(windowGeometry(icon).center());
        const bool opened = waitFor(
            [&] {
                for (quint32 window : visibleWindows(QStringLiteral("^Corvane$"))) {
                    if (windowType(window) == "_NET_WM_WINDOW_TYPE_UTILITY" && activeWindow() == window) {
                        popover = window;
                        return true;
                    }
                }
                return false;
            },
            icon == 0 ? 300 : 3000);
        if (opened || ::testing::Test::HasFailure())
            break;
    }
    ASSERT_NE(popover, 0u) << "the tray icon never opened the popover";
    settle(400); // its appear animation
}

bool Harness::popoverShown() { return popover != 0 && windowViewable(popover); }

QRect Harness::popoverGeometry() { return windowGeometry(popover); }

QPoint Harness::inPopover(int x, int y) { return popoverGeometry().topLeft() + QPoint(x, y); }

void Harness::moveTo(QPoint at)
{
    run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
}

void Harness::click(QPoint at, int button)
{
    run(QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()), QStringLiteral("sleep"),
         QStringLiteral("0.05"), QStringLiteral("click"), QString::number(button)});
}

void Harness::wheel(QPoint at, int notches, bool horizontal)
{
    const int button = horizontal ? (notches > 0 ? 7 : 6) : (notches > 0 ? 5 : 4);
    run(QStringLiteral("xdotool"),
        {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
         QStringLiteral("--repeat"), QString::number(std::abs(notches)), QStringLiteral("--delay"), QStringLiteral("60"),
         QString::number(button)});
}

void Harness::key(const QString &keys)
{
    QStringList args{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60")};
    args += keys.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    run(QStringLiteral("xdotool"), args);
}

void Harness::type(const QString &text)
{
    run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("60"), text});
}

void Harness::dragTo(QPoint from, QPoint to)
{
    // Small steps with pauses: the source needs motion past its drag distance, and the target
    // needs time to answer the XDND position messages before the drop.
    QStringList args{QStringLiteral("mousemove"), QString::number(from.x()),   QString::number(from.y()), QStringLiteral("sleep"),
                     QStringLiteral("0.1"),       QStringLiteral("mousedown"), QStringLiteral("1")};
    const int steps = 12;
    for (int i = 1; i <= steps; ++i) {
        const QPoint p = from + (to - from) * i / steps;
        args += {QStringLiteral("sleep"), QStringLiteral("0.06"), QStringLiteral("mousemove"), QString::number(p.x()),
                 QString::number(p.y())};
    }
    args += {QStringLiteral("sleep"),     QStringLiteral("0.3"),     QStringLiteral("mousemove"),
             QString::number(to.x() + 2), QString::number(to.y()),   QStringLiteral("sleep"),
             QStringLiteral("0.4"),       QStringLiteral("mouseup"), QStringLiteral("1")};
    run(QStringLiteral("xdotool"), args);
}

QPoint Harness::showDropTarget()
{
    dropTarget.start(QStringLiteral(CORVANE_DROP_TARGET),
                     {home.filePath(QStringLiteral("dropped")), QStringLiteral("20"), QStringLiteral("300")});
    QList<quint32> windows;
    waitFor([&] {
        QByteArray out;
        run(QStringLiteral("xdotool"),
            {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
             QStringLiteral("^Corvane drop target$")},
            &out);
        windows = windowIds(out);
        return !windows.isEmpty();
    });
    if (windows.isEmpty()) {
        ADD_FAILURE() << "the drop target did not appear";
        return {};
    }
    return windowGeometry(windows.first()).center();
}

QMap<QString, QByteArray> Harness::dropped(int ms)
{
    const QDir folder(home.filePath(QStringLiteral("dropped")));
    QMap<QString, QByteArray> formats;
    if (!waitFor([&] { return folder.exists(QStringLiteral("formats.txt")); }, ms))
        return formats;
    QFile index(folder.filePath(QStringLiteral("formats.txt")));
    index.open(QIODevice::ReadOnly);
    int n = 0;
    for (const QByteArray &line : index.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        QFile bytes(folder.filePath(QString::number(n++)));
        bytes.open(QIODevice::ReadOnly);
        formats.insert(QString::fromUtf8(line.split('\t').value(0)), bytes.readAll());
    }
    return formats;
}

QImage Harness::screenshot(const QString &name, bool wholeScreen)
{
    const QRect area = wholeScreen || popover == 0 ? QRect() : popoverGeometry();
    QScreen *screen = QGuiApplication::primaryScreen();
    const QPixmap shot
        = area.isEmpty() ? screen->grabWindow(0) : screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const QString folder = QStringLiteral(CORVANE_ARTIFACTS_DIR "/e2e");
    QDir().mkpath(folder);
    shot.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    return shot.toImage();
}

QImage Harness::steadyScreenshot(const QString &name)
{
    QImage last = screenshot(name);
    waitFor(
        [&] {
            settle(150);
            const QImage next = screenshot(name);
            const bool steady = !imagesDiffer(next, last);
            last = next;
            return steady;
        },
        5000);
    return last;
}

bool Harness::imagesDiffer(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return true;
    int changed = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            if (std::abs(p.red() - q.red()) + std::abs(p.green() - q.green()) + std::abs(p.blue() - q.blue()) > 30)
                ++changed;
        }
    }
    return changed > 20;
}

} // namespace e2e

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
