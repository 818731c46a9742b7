#pragma once

#include <QIcon>
#include <QString>

namespace corvane::TrayIcons {

enum class Look { normal, flash, paused };

/** Folder of the icon set's SVG files. */
QString iconFolder();

/** The tray icon for `look`, drawn from the icon set in the panel's text colour. */
QIcon icon(Look look);

/** The application's window icon. */
QIcon appIcon();

} // namespace corvane::TrayIcons
