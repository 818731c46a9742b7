#pragma once

#include <QString>
#include <QUrl>

namespace corvane {

class DesktopServices;

namespace Feedback {

/** A mailto draft to `address` asking the user to attach the report at `reportPath`. */
QUrl mailUrl(const QString &address, const QString &reportPath);

/**
 * Writes the diagnostics report, shows it in the file manager and opens the mail draft.
 * The error when the report could not be written (nothing is opened then).
 */
QString send(DesktopServices &desktop, const QString &diagnostics);

} // namespace Feedback
} // namespace corvane
