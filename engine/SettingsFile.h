#pragma once

#include <QString>

#include <optional>

namespace corvane::SettingsFile {

/**
 * Readies the settings file before QSettings reads it: a file QSettings cannot read is renamed
 * beside itself ("Corvane.unreadable-<date>.conf", byte for byte) instead of being overwritten
 * by the next write, and the folder (0700) and file (0600) are made private to the user, as the
 * exclusions and kept sources are the user's own. Returns what the user should be told, if anything.
 */
std::optional<QString> prepare(const QString &path);

} // namespace corvane::SettingsFile
