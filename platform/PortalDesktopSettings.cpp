#include "PortalDesktopSettings.h"

#include "DesktopSettingsMapping.h"
#include "XdgDirs.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QFile>

namespace corvane {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");

/** Older portals wrap Read's answer in a second variant. */
QVariant unwrap(QVariant value)
{
    while (value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

PortalDesktopSettings::PortalDesktopSettings(QObject *parent)
    : DesktopSettings(parent)
{
    QFile kdeglobals(XdgDirs::configHome() + QLatin1String("/kdeglobals"));
    if (kdeglobals.open(QIODevice::ReadOnly)) {
        if (auto factor = DesktopSettingsMapping::kdeAnimationFactorFromKdeglobals(kdeglobals.read(4 * 1024 * 1024)))
            setValue(DesktopSettingsMapping::kdeAnimationFactor, *factor);
    }

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // Takes the whole message: QtDBus 6.4 refuses this connection for a slot with a QDBusVariant
    // parameter, and the changes would never arrive.
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"), this,
                SLOT(onSettingChanged(QDBusMessage)));
    for (const QString &name : {DesktopSettingsMapping::gnomeAnimations, DesktopSettingsMapping::gnomeHighContrast,
                                DesktopSettingsMapping::kdeAnimationFactor}) {
        readFromPortal(name.section(QLatin1Char('/'), 0, 0), name.section(QLatin1Char('/'), 1));
    }
}

void PortalDesktopSettings::readFromPortal(const QString &group, const QString &key)
{
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface, QStringLiteral("Read"));
    call << group << key;
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call, 3000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, group, key](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *w;
        // A missing key or no portal keeps the fallback (kdeglobals) or the default.
        if (!reply.isError())
            setValue(group + QLatin1Char('/') + key, unwrap(reply.argumentAt(0)));
    });
}

void PortalDesktopSettings::onSettingChanged(const QDBusMessage &message)
{
    const QList<QVariant> args = message.arguments();
    if (args.size() < 3)
        return;
    const QString name = args.at(0).toString() + QLatin1Char('/') + args.at(1).toString();
    if (name == DesktopSettingsMapping::gnomeAnimations || name == DesktopSettingsMapping::gnomeHighContrast
        || name == DesktopSettingsMapping::kdeAnimationFactor)
        setValue(name, unwrap(args.at(2)));
}

void PortalDesktopSettings::setValue(const QString &name, const QVariant &value)
{
    m_values.insert(name, value);
    const auto result = DesktopSettingsMapping::map(m_values);
    update(result.reduceMotion, result.reduceTransparency);
}

} // namespace corvane
