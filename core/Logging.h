#pragma once

#include <QLoggingCategory>

namespace corvane {

// One category per subsystem, so a user can turn one on or off with QT_LOGGING_RULES
// ("corvane.capture.debug=true"). Messages still start with "Corvane: ".
Q_DECLARE_LOGGING_CATEGORY(logApp)       // corvane.app: start-up and the shell
Q_DECLARE_LOGGING_CATEGORY(logCapture)   // corvane.capture: copies on their way into the history
Q_DECLARE_LOGGING_CATEGORY(logClipboard) // corvane.clipboard: reading and writing the clipboard
Q_DECLARE_LOGGING_CATEGORY(logDb)        // corvane.db: the history database
Q_DECLARE_LOGGING_CATEGORY(logDesktop)   // corvane.desktop: files, folders and programs of the desktop
Q_DECLARE_LOGGING_CATEGORY(logSettings)  // corvane.settings: stored preferences
Q_DECLARE_LOGGING_CATEGORY(logStore)     // corvane.store: the model of the running app
Q_DECLARE_LOGGING_CATEGORY(logUi)        // corvane.ui: windows and views
Q_DECLARE_LOGGING_CATEGORY(logX11)       // corvane.x11: the X server

} // namespace corvane
