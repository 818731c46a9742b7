#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace corvane {

/**
 * @brief A link's preview. The pictures are kept as the PNG bytes that also go to the database
 * (at most 800 px for the image, 64 px for the icon): small in memory, decoded when drawn.
 */
struct LinkPreview {
    static constexpr int imagePixels = 800;
    static constexpr int iconPixels = 64;

    std::optional<QString> title;
    std::optional<QString> siteName;
    /** Empty when there is no picture. */
    QByteArray image;
    QByteArray icon;

    bool hasImage() const { return !image.isEmpty(); }
    bool hasIcon() const { return !icon.isEmpty(); }
    bool operator==(const LinkPreview &) const = default;
};

} // namespace corvane
