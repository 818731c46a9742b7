#pragma once

#include <QImage>
#include <QQuickImageProvider>
#include <QSize>

namespace corvane {

/**
 * @brief Serves "image://sunset/<width>x<height>": the backdrop's three blurred circles for a
 * canvas of that size, drawn at a quarter of it (QML scales it up smoothly).
 *
 * Every pane of a window shows a slice of the same backdrop; one image per canvas size, shared
 * through the pixmap cache, replaces a blur effect per pane and its render passes.
 */
class SunsetImageProvider : public QQuickImageProvider
{
public:
    /** How much smaller than the canvas the circles are drawn and blurred. */
    static constexpr int shrink = 4;

    SunsetImageProvider();

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

    /** The blurred circles for `canvas`, at `shrink` times smaller; null for an empty canvas. */
    static QImage render(QSize canvas);
};

} // namespace corvane
