#pragma once

#include <QByteArray>
#include <QProcessEnvironment>

#include <optional>

namespace corvane::X11Session {

/**
 * The Qt platform plugin to force before the application object exists: "xcb" in a Wayland
 * session that also offers X11 (DISPLAY set), so the clipboard and the active window can be
 * observed through XWayland. Nothing when the user chose a platform or there is no X11.
 */
std::optional<QByteArray> platformOverride(const QProcessEnvironment &environment);

/** Applies platformOverride to this process; call first thing in main(). */
void selectQtPlatform();

} // namespace corvane::X11Session
