#include "TrayIcons.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>

namespace corvane::TrayIcons {
namespace {

QPixmap render(const QString &name, int size, const QColor &color)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QDir(iconFolder()).filePath(name + QStringLiteral(".svg")));
    if (!renderer.isValid())
        return {};
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(0, 0, size, size));
    // The icon set draws in black; tint it to the wanted colour.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(pixmap.rect(), color);
    return pixmap;
}

QPixmap compose(Look look, int size)
{
    const QColor ink = QGuiApplication::palette().color(QPalette::WindowText);
    switch (look) {
    case Look::normal:
        return render(QStringLiteral("clipboard2"), size, ink);
    case Look::flash:
        return render(QStringLiteral("clipboard2-check-fill"), size, ink);
    case Look::paused: {
        // The usual icon, faded, with a pause badge in its lower right corner.
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setOpacity(0.45);
        painter.drawPixmap(0, 0, render(QStringLiteral("clipboard2"), size, ink));
        painter.setOpacity(1.0);
        const int badge = size * 5 / 8;
        painter.drawPixmap(size - badge, size - badge, render(QStringLiteral("pause-circle-fill"), badge, ink));
        return pixmap;
    }
    }
    return {};
}

} // namespace

QString iconFolder() { return QStringLiteral("/usr/share/bootstrap-icons/svg"); }

QIcon icon(Look look)
{
    QIcon result;
    for (int size : {16, 22, 24, 32, 48, 64})
        result.addPixmap(compose(look, size));
    if (result.isNull())
        return QIcon::fromTheme(QStringLiteral("edit-paste"));
    return result;
}

QIcon appIcon()
{
    QIcon result;
    for (int size : {32, 64, 128, 256}) {
        QPixmap pixmap = render(QStringLiteral("clipboard2-data-fill"), size, QColor(0x3b, 0x6e, 0xf0));
        if (!pixmap.isNull())
            result.addPixmap(pixmap);
    }
    return result.isNull() ? QIcon::fromTheme(QStringLiteral("edit-paste")) : result;
}

} // namespace corvane::TrayIcons
