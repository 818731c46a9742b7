#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

#include <optional>

namespace corvane {

/** @brief The desktop values behind reduce motion and reduce transparency, and how they map. */
namespace DesktopSettingsMapping {

/** Keys of the values, "portal namespace/key". */
inline const QString gnomeAnimations = QStringLiteral("org.gnome.desktop.interface/enable-animations");
inline const QString gnomeHighContrast = QStringLiteral("org.gnome.desktop.a11y.interface/high-contrast");
inline const QString kdeAnimationFactor = QStringLiteral("org.kde.kdeglobals.KDE/AnimationDurationFactor");

struct Result {
    bool reduceMotion = false;
    bool reduceTransparency = false;
    bool operator==(const Result &) const = default;
};

/**
 * Reduce motion when GNOME animations are off or KDE's animation factor is 0; reduce
 * transparency under GNOME high contrast. Values may be booleans, numbers or their text
 * (as kdeglobals and gsettings write them); unreadable values count as absent.
 */
Result map(const QHash<QString, QVariant> &values);

/** KDE's AnimationDurationFactor from a kdeglobals body, when set. */
std::optional<QVariant> kdeAnimationFactorFromKdeglobals(const QByteArray &kdeglobals);

} // namespace DesktopSettingsMapping

} // namespace corvane
