#pragma once

#include <QString>

namespace corvane::LogOutput {

/**
 * One log line safe for a terminal: control characters (NUL, escape, line breaks, ...) become
 * `\xNN` / `\uNNNN` escapes, so a clip or file name can neither cut the line nor drive the
 * terminal. A backslash is doubled to keep escapes apart from the text.
 */
QString escaped(const QString &message);

/** Routes Qt's messages through `escaped` to stderr. */
void install();

} // namespace corvane::LogOutput
