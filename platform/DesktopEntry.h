#pragma once

#include <QString>

namespace corvane {

/** @brief The fields of one application's .desktop file that Corvane uses. */
struct DesktopEntry {
    /** Desktop-entry id, e.g. "org.keepassxc.KeePassXC" (file name without ".desktop"). */
    QString id;
    /** Localised Name. */
    QString name;
    /** Icon: a theme icon name or an absolute path. */
    QString icon;
    QString exec;
    QString startupWMClass;
    /** Absolute path of the .desktop file. */
    QString path;
    bool noDisplay = false;
};

} // namespace corvane
