#pragma once

#include <QString>

#include <optional>

namespace corvane {

class DesktopServices;

/** The desktop the views open things with: the application's or a test's; null before one is set. */
DesktopServices *inspectorDesktop();
/** Sets the desktop (nullptr: none). Not owned. */
void setInspectorDesktop(DesktopServices *desktop);

/** The private (0700) folder for files written for the user, or nothing. */
std::optional<QString> privateFolder();

} // namespace corvane
