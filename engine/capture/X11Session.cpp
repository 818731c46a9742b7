#include "X11Session.h"

namespace corvane::X11Session {

std::optional<QByteArray> platformOverride(const QProcessEnvironment &environment)
{
    if (!environment.value(QStringLiteral("QT_QPA_PLATFORM")).isEmpty())
        return std::nullopt;
    if (environment.value(QStringLiteral("DISPLAY")).isEmpty())
        return std::nullopt;
    const bool wayland = environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland")
        || !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    return wayland ? std::optional<QByteArray>("xcb") : std::nullopt;
}

void selectQtPlatform()
{
    if (const auto platform = platformOverride(QProcessEnvironment::systemEnvironment()))
        qputenv("QT_QPA_PLATFORM", *platform);
}

} // namespace corvane::X11Session
