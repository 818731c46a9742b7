#pragma once

#include <QString>
#include <QStringList>

namespace corvane::XdgDirs {

/** $XDG_CONFIG_HOME, else ~/.config (relative values are ignored, as the XDG base-directory rules ask). */
QString configHome();
/** $XDG_DATA_HOME then $XDG_DATA_DIRS (with their defaults), most important first. */
QStringList dataDirs();

} // namespace corvane::XdgDirs
