#pragma once

#include <QString>

#include <optional>

namespace corvane::ReportFiles {

inline constexpr char diagnosticsFileName[] = "Corvane Diagnostics.txt";
inline constexpr char selfTestFileName[] = "Corvane Self-Test.txt";

/** The desktop folder when it exists, else the home folder. */
QString folder();

/**
 * Writes `text` to `fileName` in `folder()`, replacing an earlier report, readable by the user
 * only. The path written, or nothing with `error` set.
 */
std::optional<QString> write(const QString &fileName, const QString &text, QString *error = nullptr);

} // namespace corvane::ReportFiles
