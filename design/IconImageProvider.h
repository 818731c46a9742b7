#pragma once

#include <QColor>
#include <QQuickImageProvider>

namespace corvane {

/**
 * @brief Serves "image://icon/<name>?color=#RRGGBB": the symbol's SVG rendered at the requested
 * size and tinted with the colour (alpha allowed), so icons stay crisp at any scale.
 */
class IconImageProvider : public QQuickImageProvider
{
public:
    IconImageProvider();

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

    /** Splits an id into symbol name and tint; the tint defaults to black. */
    static std::pair<QString, QColor> parseId(const QString &id);
};

} // namespace corvane
