#include "Logging.h"

namespace corvane {

Q_LOGGING_CATEGORY(logApp, "corvane.app")
Q_LOGGING_CATEGORY(logCapture, "corvane.capture")
Q_LOGGING_CATEGORY(logClipboard, "corvane.clipboard")
Q_LOGGING_CATEGORY(logDb, "corvane.db")
Q_LOGGING_CATEGORY(logDesktop, "corvane.desktop")
Q_LOGGING_CATEGORY(logSettings, "corvane.settings")
Q_LOGGING_CATEGORY(logStore, "corvane.store")
Q_LOGGING_CATEGORY(logUi, "corvane.ui")
Q_LOGGING_CATEGORY(logX11, "corvane.x11")

} // namespace corvane
