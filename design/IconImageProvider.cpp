#include "IconImageProvider.h"

#include "IconTable.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QUrl>
#include <QUrlQuery>

namespace corvane {
namespace {

constexpr int defaultSide = 32;

} // namespace

IconImageProvider::IconImageProvider()
    : QQuickImageProvider(QQuickImageProvider::Image)
{
}

std::pair<QString, QColor> IconImageProvider::parseId(const QString &id)
{
    const qsizetype mark = id.indexOf(u'?');
    const QString name = QUrl::fromPercentEncoding(id.left(mark).toUtf8());
    QColor color(Qt::black);
    if (mark >= 0) {
        // "#" may arrive raw or percent-encoded; both mean the same colour.
        const QString query = id.mid(mark + 1).replace(u'#', QStringLiteral("%23"));
        const QString value = QUrlQuery(query).queryItemValue(QStringLiteral("color"), QUrl::FullyDecoded);
        const QColor parsed = QColor::fromString(value);
        if (parsed.isValid())
            color = parsed;
    }
    return {name, color};
}

QImage IconImageProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    const auto [name, color] = parseId(id);
    QSize side(requestedSize.width() > 0 ? requestedSize.width() : defaultSide,
               requestedSize.height() > 0 ? requestedSize.height() : defaultSide);
    if (requestedSize.width() > 0 && requestedSize.height() <= 0)
        side.setHeight(side.width());
    if (requestedSize.height() > 0 && requestedSize.width() <= 0)
        side.setWidth(side.height());

    QImage image(side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(IconTable::path(name));
    if (renderer.isValid()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        // Keep the icon square and centred whatever box it is asked for.
        const QSizeF drawn = renderer.viewBoxF().size().scaled(side, Qt::KeepAspectRatio);
        const QRectF target(QPointF((side.width() - drawn.width()) / 2, (side.height() - drawn.height()) / 2), drawn);
        renderer.render(&painter, target);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), color);
    }
    if (size)
        *size = side;
    return image;
}

} // namespace corvane
