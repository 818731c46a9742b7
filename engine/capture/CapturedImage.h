#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

namespace corvane {

/**
 * @brief An image copy made ready for the history: PNG bytes, thumbnail, identity and fingerprint.
 *
 * Built on the capture thread; everything here is pure and safe off the main thread.
 */
struct CapturedImage {
    QByteArray png;       ///< the full image as PNG (stored, and copied back)
    QByteArray thumbnail; ///< PNG, longest side at most thumbnailSide
    QSize size;           ///< pixel size of the full image
    QString hash;         ///< ClipHash::image
    quint64 dHash = 0;    ///< differenceHash

    static constexpr int thumbnailSide = 320;
    /**
     * Largest image accepted, in pixels (16384 x 16384; a screenshot wall is plenty). Above it a
     * copy is skipped with a reason: even a thumbnail-sized decode walks every row.
     */
    static constexpr qint64 maxPixels = 268'435'456;
    /**
     * Images up to this many pixels (64 MB decoded) are decoded whole and hashed by their pixels;
     * larger PNGs are only decoded at thumbnail size, row by row, and hashed by their bytes.
     */
    static constexpr qint64 fullDecodePixels = 16'777'216;

    /** @brief Why encoded bytes gave no image. */
    enum class Failure { notAnImage, tooLarge };

    /**
     * Decodes encoded bytes of any readable format. Nothing when they are not an image, or (with
     * `failure` set to tooLarge and `reason` saying why) when the image is too large to take.
     */
    static std::optional<CapturedImage> fromData(const QByteArray &encoded, Failure *failure = nullptr,
                                                 QString *reason = nullptr);
    /** Reads an image file; nothing when it is missing or not an image (see fromData). */
    static std::optional<CapturedImage> fromFile(const QString &path, Failure *failure = nullptr, QString *reason = nullptr);
    /** Encodes an already decoded image; keeps `png` when the caller has it already. */
    static std::optional<CapturedImage> fromImage(const QImage &image, QByteArray png = {});

    /**
     * 64-bit difference hash: the image in grey at 9 x 8, one bit per horizontally adjacent
     * pair (set when the left pixel is brighter). Near-identical pictures differ in few bits.
     */
    static quint64 differenceHash(const QImage &image);
};

} // namespace corvane
