#include "QrCode.h"

#include <QCache>
#include <QMutex>
#include <algorithm>
#include <QSaveFile>

#include <qrencode.h>

#include <memory>

namespace corvane {

std::optional<QrMatrix> encodeQr(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return std::nullopt;
    std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeData(int(bytes.size()), reinterpret_cast<const unsigned char *>(bytes.constData()), 0, QR_ECLEVEL_M),
        &QRcode_free);
    if (!code)
        return std::nullopt;
    QrMatrix matrix;
    matrix.width = code->width;
    matrix.modules.resize(size_t(code->width) * size_t(code->width));
    for (size_t i = 0; i < matrix.modules.size(); ++i)
        matrix.modules[i] = code->data[i] & 1;
    return matrix;
}

QImage renderQr(const QrMatrix &matrix, int side, int quiet)
{
    const int span = matrix.width + 2 * quiet;
    if (matrix.width <= 0 || span <= 0)
        return {};
    const int module = side / span;
    if (module < 2)
        return {};
    QImage image(side, side, QImage::Format_Grayscale8);
    image.fill(255);
    const int offset = (side - matrix.width * module) / 2;
    for (int y = 0; y < matrix.width; ++y) {
        for (int x = 0; x < matrix.width; ++x) {
            if (!matrix.dark(x, y))
                continue;
            for (int py = 0; py < module; ++py) {
                uchar *line = image.scanLine(offset + y * module + py);
                std::fill_n(line + offset + x * module, module, uchar(0));
            }
        }
    }
    return image;
}

QImage qrImage(const QString &text)
{
    static QMutex mutex;
    static QCache<QString, QImage> cache(32);
    {
        QMutexLocker lock(&mutex);
        if (const QImage *hit = cache.object(text))
            return *hit;
    }
    const auto matrix = encodeQr(text.toUtf8());
    const QImage image = matrix ? renderQr(*matrix) : QImage();
    QMutexLocker lock(&mutex);
    cache.insert(text, new QImage(image));
    return image;
}

std::optional<QString> saveQrPng(const QImage &image, QString path)
{
    if (image.isNull())
        return QStringLiteral("there is no image");
    if (!path.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        path += QLatin1String(".png");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!image.save(&file, "PNG")) {
        file.cancelWriting();
        return QStringLiteral("the image could not be encoded");
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace corvane
