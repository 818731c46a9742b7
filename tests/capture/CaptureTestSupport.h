#pragma once

#include "TestApplication.h"

#include <QBuffer>
#include <QColor>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

#include <functional>

namespace corvane::test {

/** Runs the main thread's events until `done` holds or the time is up; returns `done()`. */
inline bool processEventsUntil(const std::function<bool()> &done, int timeoutMs = 10'000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

/**
 * A PNG of `size` pixels in two colour halves, encoded quickly. Large sizes decode past what
 * Qt's readers allocate at once (128 MB), as a screenshot of a big screen wall would.
 */
inline QByteArray largePng(QSize size, QColor left, QColor right)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(right);
    QPainter(&image).fillRect(0, 0, size.width() / 2, size.height(), left);
    QByteArray png;
    QBuffer buffer(&png);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(1);
    writer.write(image);
    return png;
}

} // namespace corvane::test
