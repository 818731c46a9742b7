#include "QrCode.h"
#include "QrCodeModel.h"
#include "StoreFixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QTemporaryDir>

#include <zbar.h>

using namespace zbar;

using namespace corvane;

namespace {

/** What zbar reads from the image, as raw bytes; empty when it finds no QR code. */
QByteArray decode(const QImage &image)
{
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    QByteArray pixels;
    for (int y = 0; y < gray.height(); ++y)
        pixels.append(reinterpret_cast<const char *>(gray.constScanLine(y)), gray.width());
    zbar_image_scanner_t *scanner = zbar_image_scanner_create();
    zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 0);
    zbar_image_scanner_set_config(scanner, ZBAR_QRCODE, ZBAR_CFG_ENABLE, 1);
    zbar_image_scanner_set_config(scanner, ZBAR_QRCODE, ZBAR_CFG_BINARY, 1);
    zbar_image_t *zimage = zbar_image_create();
    zbar_image_set_format(zimage, zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(zimage, unsigned(gray.width()), unsigned(gray.height()));
    zbar_image_set_data(zimage, pixels.constData(), unsigned(pixels.size()), nullptr);
    QByteArray result;
    if (zbar_scan_image(scanner, zimage) > 0) {
        const zbar_symbol_t *symbol = zbar_image_first_symbol(zimage);
        result = QByteArray(zbar_symbol_get_data(symbol), int(zbar_symbol_get_data_length(symbol)));
    }
    zbar_image_destroy(zimage);
    zbar_image_scanner_destroy(scanner);
    return result;
}

TEST(QrCode, RoundTripsThroughAReader)
{
    const QString url700 = QStringLiteral("https://example.com/") + QString(680, u'a');
    ASSERT_EQ(url700.toUtf8().size(), 700);
    for (const QString &text :
         {QStringLiteral("https://example.com/path?q=1"), QString::fromUtf8("Grüße, 東京 — ok ✓"), url700}) {
        const QImage image = qrImage(text);
        ASSERT_FALSE(image.isNull()) << qPrintable(text.left(40));
        EXPECT_EQ(image.size(), QSize(220, 220));
        EXPECT_EQ(decode(image), text.toUtf8()) << qPrintable(text.left(40));
    }
}

TEST(QrCode, WholeModulesCentredInAQuietZone)
{
    const auto matrix = encodeQr("hello");
    ASSERT_TRUE(matrix);
    EXPECT_EQ(matrix->width, 21);
    const QImage image = renderQr(*matrix);
    const int module = 220 / (21 + 8);
    const int offset = (220 - 21 * module) / 2;
    // The top-left finder's corner module is dark and fills a whole block; the quiet zone is white.
    for (int y = 0; y < module; ++y)
        for (int x = 0; x < module; ++x)
            EXPECT_EQ(qGray(image.pixel(offset + x, offset + y)), 0);
    for (int i = 0; i < offset; ++i)
        EXPECT_EQ(qGray(image.pixel(i, i)), 255);
    EXPECT_GE(offset, 4 * module);
}

TEST(QrCode, TooMuchForAReadableCodeGivesNothing)
{
    EXPECT_FALSE(encodeQr(QByteArray(2332, 'a')));
    // Encodable, but its modules would be under two pixels at 220.
    const auto dense = encodeQr(QByteArray(1500, 'a'));
    ASSERT_TRUE(dense);
    EXPECT_TRUE(renderQr(*dense).isNull());
    EXPECT_TRUE(qrImage(QString(1500, u'a')).isNull());
    EXPECT_FALSE(encodeQr(QByteArray()));
}

class QrSave : public test::StoreFixture
{ };

TEST_F(QrSave, SavesA220PngAndWarnsWhenItCannot)
{
    QrCodeModel model;
    model.setStore(store.get());
    model.setText(QStringLiteral("https://example.com"));
    ASSERT_TRUE(model.hasImage());
    ASSERT_TRUE(model.save(QUrl::fromLocalFile(dir.filePath("code"))));
    QImageReader reader(dir.filePath("code.png"));
    EXPECT_EQ(reader.format(), "png");
    EXPECT_EQ(reader.size(), QSize(220, 220));

    EXPECT_FALSE(model.save(QUrl::fromLocalFile(dir.filePath("missing-folder/QR Code.png"))));
    ASSERT_TRUE(store->notice());
    EXPECT_EQ(store->notice()->kind, Notice::Kind::warning);
    EXPECT_TRUE(store->notice()->message.startsWith(QStringLiteral("Couldn’t save the QR code: ")));

    model.copy();
    model.copy();
    EXPECT_EQ(model.copied(), 2);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(220, 220));
}

} // namespace
