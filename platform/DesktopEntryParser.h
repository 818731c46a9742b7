#pragma once

#include "DesktopEntry.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>

namespace corvane {

/** @brief Key-file ("ini" as freedesktop writes it) parsing shared by desktop entries and kdeglobals. */
namespace DesktopEntryParser {

/** Groups of key = value lines; later duplicates win; comments and blank lines skipped. */
using KeyFile = QHash<QString, QHash<QString, QString>>;
KeyFile parseKeyFile(const QByteArray &data);

/** Unescapes \s \n \t \r \\ of a string value. */
QString unescapeValue(const QString &value);

/** The best localised value of @p key for @p locale ("de_AT"): key[de_AT], key[de], key. */
QString localizedValue(const QHash<QString, QString> &group, const QString &key, const QString &locale);

/**
 * An application entry from a .desktop file body. Nothing when the body has no
 * "Desktop Entry" group, is not Type=Application, or has Hidden=true.
 */
std::optional<DesktopEntry> parse(const QByteArray &data, const QString &id, const QString &locale);

/** Desktop-entry id of @p filePath under @p applicationsDir: relative path with '/' as '-', minus ".desktop". */
QString idForPath(const QString &applicationsDir, const QString &filePath);

/** The program file name of an Exec line (quoting honoured, "env VAR=x" skipped), e.g. "firefox-esr". */
QString programName(const QString &exec);

/** @p path quoted for an Exec line as the freedesktop desktop-entry format asks (and '%' doubled). */
QString quoteExecArgument(const QString &path);

} // namespace DesktopEntryParser

} // namespace corvane
