#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace corvane {

class DesktopEntries;

/** The image's PNG encoding, or nothing for a null image or a failed encode. */
std::optional<QByteArray> pngData(const QImage &image);

/** The image redrawn with its longest side at most `maxPixelSize`, never enlarged; nothing on failure. */
std::optional<QImage> downscaled(const QImage &image, int maxPixelSize);

/** The installed app's icon at `size` pixels, or nothing when no app has that id or it has no icon. */
std::optional<QImage> appIcon(const DesktopEntries &entries, const QString &bundleID, int size = 64);

/** @brief Bounds for decoding untrusted image bytes. */
struct ImageDecodeLimits {
    qsizetype maxBytes = 1024 * 1024;
    /** Images whose header claims a larger side are refused before decoding. */
    int maxSide = 4096;
    int allocationLimitMB = 16;
    /** Decoded images are scaled down to this longest side. */
    int keepSide = 1024;
};

/**
 * Decodes untrusted image bytes within `limits` (bytes, pixel size and decoder allocation).
 * Nothing when the data is too large or not an image.
 */
std::optional<QImage> decodeUntrustedImage(const QByteArray &data, const ImageDecodeLimits &limits = {});

} // namespace corvane
