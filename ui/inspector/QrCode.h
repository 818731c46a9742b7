#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>
#include <vector>

namespace corvane {

/** @brief The modules of one QR symbol, row by row; true is dark. */
struct QrMatrix {
    int width = 0;
    std::vector<bool> modules;
    bool dark(int x, int y) const { return modules[size_t(y) * size_t(width) + size_t(x)]; }
};

/** The bytes as an 8-bit QR code at level M; nothing when they do not fit (over 2,331 bytes). */
std::optional<QrMatrix> encodeQr(const QByteArray &bytes);

/**
 * A side × side image: whole-pixel modules centred on white with a 4-module quiet zone.
 * A null image when a module would be under 2 pixels (a phone could not read it).
 */
QImage renderQr(const QrMatrix &matrix, int side = 220, int quiet = 4);

/** The 220-pixel code of a text (UTF-8), cached per text; null when there is none. */
QImage qrImage(const QString &text);

/** Writes PNG through a temporary file, adding ".png" when missing; the error, or nothing. */
std::optional<QString> saveQrPng(const QImage &image, QString path);

} // namespace corvane
