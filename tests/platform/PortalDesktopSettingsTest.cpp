// Runs on a private session bus (dbus-run-session) with a stand-in for the desktop portal.
#include "DesktopSettingsMapping.h"
#include "PortalDesktopSettings.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;

namespace {

const QString portalService = "org.freedesktop.portal.Desktop";
const QString portalPath = "/org/freedesktop/portal/desktop";

/** Answers Read like an older portal (a variant inside a variant) and sends SettingChanged. */
class FakePortal : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    explicit FakePortal(QHash<QString, QVariant> values)
        : m_values(std::move(values))
        , m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "fake-portal"))
    {
        m_bus.registerObject(portalPath, this, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals);
        EXPECT_TRUE(m_bus.registerService(portalService));
    }
    ~FakePortal() override
    {
        m_bus.unregisterService(portalService);
        m_bus.unregisterObject(portalPath);
        QDBusConnection::disconnectFromBus("fake-portal");
    }

    void change(const QString &group, const QString &key, const QVariant &value)
    {
        QDBusMessage signal = QDBusMessage::createSignal(portalPath, "org.freedesktop.portal.Settings", "SettingChanged");
        signal << group << key << QVariant::fromValue(QDBusVariant(value));
        m_bus.send(signal);
    }

public slots:
    QDBusVariant Read(const QString &group, const QString &key)
    {
        const auto found = m_values.constFind(group + '/' + key);
        if (found == m_values.cend()) {
            sendErrorReply("org.freedesktop.portal.Error.NotFound", "Requested setting not found");
            return {};
        }
        return QDBusVariant(QVariant::fromValue(QDBusVariant(*found)));
    }

private:
    QHash<QString, QVariant> m_values;
    QDBusConnection m_bus;
};

class PortalDesktopSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override { qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path())); }
    void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

    void writeKdeglobals(const QByteArray &contents)
    {
        QFile file(config.filePath("kdeglobals"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    QTemporaryDir config;
};

} // namespace

TEST_F(PortalDesktopSettingsTest, FollowsThePortalsValuesAndTheirChanges)
{
    FakePortal portal({{DesktopSettingsMapping::gnomeAnimations, false}, {DesktopSettingsMapping::gnomeHighContrast, false}});
    PortalDesktopSettings settings;
    QSignalSpy transparency(&settings, &DesktopSettings::reduceTransparencyChanged);
    EXPECT_TRUE(QTest::qWaitFor([&] { return settings.reduceMotion(); }, 20000));

    portal.change("org.gnome.desktop.a11y.interface", "high-contrast", true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return settings.reduceTransparency(); }, 20000));
    EXPECT_EQ(transparency.count(), 1);

    portal.change("org.gnome.desktop.interface", "enable-animations", true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !settings.reduceMotion(); }, 20000));
}

TEST_F(PortalDesktopSettingsTest, FallsBackToKdeglobalsWhenThePortalLacksTheValue)
{
    writeKdeglobals("[KDE]\nAnimationDurationFactor=0\n");
    FakePortal portal({{DesktopSettingsMapping::gnomeHighContrast, false}});
    PortalDesktopSettings settings;
    EXPECT_TRUE(settings.reduceMotion()); // read at once, before any answer
    QTest::qWait(200);
    EXPECT_TRUE(settings.reduceMotion());
    EXPECT_FALSE(settings.reduceTransparency());
}

TEST_F(PortalDesktopSettingsTest, DefaultsWithoutPortalOrKdeglobals)
{
    PortalDesktopSettings settings;
    QTest::qWait(200);
    EXPECT_FALSE(settings.reduceMotion());
    EXPECT_FALSE(settings.reduceTransparency());
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

#include "PortalDesktopSettingsTest.moc"
