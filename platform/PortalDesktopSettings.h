#pragma once

#include "DesktopSettings.h"

#include <QHash>
#include <QVariant>

class QDBusMessage;

namespace corvane {

/**
 * @brief Desktop settings read through org.freedesktop.portal.Settings and kept current by its
 * SettingChanged signal; KDE's factor falls back to kdeglobals when the portal lacks it.
 */
class PortalDesktopSettings : public DesktopSettings
{
    Q_OBJECT

public:
    /** Reads kdeglobals at once and asks the portal asynchronously. */
    explicit PortalDesktopSettings(QObject *parent = nullptr);

private slots:
    void onSettingChanged(const QDBusMessage &message);

private:
    void readFromPortal(const QString &group, const QString &key);
    void setValue(const QString &name, const QVariant &value);

    QHash<QString, QVariant> m_values;
};

} // namespace corvane
