#pragma once

#include <QString>

#include <optional>

namespace corvane {

class DesktopServices;

/** The desktop the inspector's actions open things with: the app's, a test's fake, else a Linux one. */
DesktopServices &inspectorDesktop();
/** Replaces the desktop (nullptr: back to the Linux one). Not owned. */
void setInspectorDesktop(DesktopServices *desktop);

/** The private (0700) folder for files written for the user, or nothing. */
std::optional<QString> privateFolder();

} // namespace corvane
