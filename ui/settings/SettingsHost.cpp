#include "SettingsHost.h"

namespace corvane {

SettingsHost::SettingsHost(Services services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
{
}

void SettingsHost::setShowWindowKey(const QString &text, HotKeyStatus status)
{
    if (text == m_keyText && status == m_keyStatus)
        return;
    m_keyText = text;
    m_keyStatus = status;
    emit showWindowKeyChanged();
}

void SettingsHost::checkForUpdates()
{
    if (m_services.checkForUpdates)
        m_services.checkForUpdates();
}

void SettingsHost::sendFeedback()
{
    if (m_services.sendFeedback)
        m_services.sendFeedback();
}

} // namespace corvane
