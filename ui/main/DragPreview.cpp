#include "DragPreview.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

namespace corvane {
namespace {

const QColor cream(0xFF, 0xF4, 0xE8);
const QColor ink(0x1E, 0x1A, 0x2E);
const QColor accent(0xFF, 0x5E, 0x3A);
const QColor stroke(0x1E, 0x1A, 0x2E, 30);

void drawBadge(QPainter &p, const QRectF &card, int count)
{
    if (count < 2)
        return;
    QFont font = QGuiApplication::font();
    font.setPointSizeF(9);
    font.setBold(true);
    p.setFont(font);
    const QString label = QString::number(count);
    const qreal w = std::max<qreal>(20, QFontMetricsF(font).horizontalAdvance(label) + 10);
    const QRectF badge(card.right() - w + 4, card.top() - 4, w, 20);
    p.setPen(Qt::NoPen);
    p.setBrush(accent);
    p.drawRoundedRect(badge, 10, 10);
    p.setPen(Qt::white);
    p.drawText(badge, Qt::AlignCenter, label);
}

} // namespace

QImage dragPreview(const Clip &clip, int count, qreal devicePixelRatio)
{
    const QImage thumbnail = clip.group == ClipGroup::image ? clip.thumbnail() : QImage();
    const QSizeF cardSize
        = thumbnail.isNull() ? QSizeF(220, 40) : QSizeF(thumbnail.size()).scaled(QSizeF(160, 120), Qt::KeepAspectRatio);
    const QSizeF size = cardSize + QSizeF(8, 8);
    QImage image((size * devicePixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF card(QPointF(2, 6), cardSize);
    QPainterPath shape;
    shape.addRoundedRect(card, 10, 10);
    p.setOpacity(0.92);
    if (!thumbnail.isNull()) {
        p.setClipPath(shape);
        p.drawImage(card, thumbnail);
        p.setClipping(false);
    } else {
        p.fillPath(shape, cream);
        p.setPen(stroke);
        p.drawPath(shape);
        QFont font = QGuiApplication::font();
        font.setPointSizeF(10.5);
        p.setFont(font);
        p.setPen(ink);
        const QRectF text = card.adjusted(12, 0, -12, 0);
        const QString title
            = QFontMetricsF(font).elidedText(clip.displayTitle(false, true).simplified(), Qt::ElideRight, text.width());
        p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, title);
    }
    p.setOpacity(1);
    drawBadge(p, card, count);
    return image;
}

} // namespace corvane
