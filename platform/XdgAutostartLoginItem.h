#pragma once

#include "LoginItem.h"

namespace corvane {

/**
 * @brief Launch at login as the XDG autostart entry "corvane.desktop".
 *
 * Enabled means the file exists in the autostart folder and is not switched off by
 * Hidden=true or X-GNOME-Autostart-enabled=false.
 */
class XdgAutostartLoginItem : public LoginItem
{
public:
    /** $XDG_CONFIG_HOME/autostart (default ~/.config/autostart), launching this executable. */
    XdgAutostartLoginItem();
    XdgAutostartLoginItem(QString autostartDir, QString executablePath);

    bool isEnabled() const override;
    std::optional<QString> setEnabled(bool enabled) override;

    QString filePath() const;
    /** The body written when enabling. */
    static QByteArray entryContents(const QString &executablePath);

private:
    QString m_dir;
    QString m_executable;
};

} // namespace corvane
