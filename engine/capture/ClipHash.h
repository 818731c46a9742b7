#pragma once

#include <QByteArrayView>
#include <QString>

class QImage;

namespace corvane {

/**
 * @brief SHA-256 identities of clip contents, used to recognise a copy made again.
 *
 * The kind of payload is part of the hashed bytes, so a path copied as text and the same
 * path copied as a file reference are two different clips.
 */
namespace ClipHash {

/** Hex SHA-256 over kind + "\n" + content. */
QString of(QByteArrayView kind, QByteArrayView content);
/** A plain text copy. */
QString text(const QString &text);
/** A file-reference copy: the paths, one per line. */
QString files(const QString &paths);
/** An image: its pixel size and its pixels as RGBA8888, independent of how it was encoded. */
QString image(const QImage &image);

} // namespace ClipHash
} // namespace corvane
