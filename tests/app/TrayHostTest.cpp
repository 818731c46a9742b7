// A tray host that comes up after Corvane (autostart before the panel): the icon must still
// register with it. Runs under its own session bus and X server.
#include "ThrowAwayHome.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The StatusNotifierWatcher a panel provides, reduced to what a tray icon talks to.
class FakeWatcher : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)

public:
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }
    QStringList items() const { return m_items; }

public slots:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString &service)
    {
        m_items.append(service);
        emit StatusNotifierItemRegistered(service);
    }
    Q_SCRIPTABLE void RegisterStatusNotifierHost(const QString &) { }

signals:
    Q_SCRIPTABLE void StatusNotifierItemRegistered(const QString &service);
    Q_SCRIPTABLE void StatusNotifierHostRegistered();

private:
    QStringList m_items;
};

} // namespace

TEST(TrayHost, IconRegistersWithAPanelThatStartsLater)
{
    int argc = 1;
    char name[] = "tray-host-test";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected()) << "run under dbus-run-session";

    QTemporaryDir home;
    QProcess corvane;
    corvane.setProcessEnvironment(corvane::test::throwAwayHomeEnvironment(home));
    corvane.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    corvane.start(QStringLiteral(CORVANE_EXECUTABLE), {});
    ASSERT_TRUE(corvane.waitForStarted());

    // Corvane is up and has found no panel yet.
    QByteArray said;
    const auto hear = [&] {
        said += corvane.readAllStandardError();
        return said;
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return hear().contains("no system tray yet"); }, 20000)) << said.constData();
    FakeWatcher watcher;
    ASSERT_TRUE(bus.registerObject(QStringLiteral("/StatusNotifierWatcher"), &watcher, QDBusConnection::ExportAllContents));
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher")));

    EXPECT_TRUE(QTest::qWaitFor([&] { return !watcher.items().isEmpty(); }, 20000))
        << "the tray icon never registered with the late panel; Corvane said:\n"
        << hear().constData();
    corvane.terminate();
    corvane.waitForFinished(10000);
}

#include "TrayHostTest.moc"
