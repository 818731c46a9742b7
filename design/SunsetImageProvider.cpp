#include "SunsetImageProvider.h"

#include "Theme.h"

#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace corvane {
namespace {

// Blur strength at the drawn (shrunk) size, matched by eye to the design's radius-48 blur.
constexpr double blurSigma = 11.0;
constexpr int largestCanvas = 16384;

struct Circle {
    double cx, cy, diameter;
    QColor color;
    double alpha;
};

// Three box blurs in a row approximate a Gaussian of `sigma`.
std::array<int, 3> boxRadii(double sigma)
{
    const double ideal = std::sqrt(12.0 * sigma * sigma / 3.0 + 1.0);
    int lower = int(std::floor(ideal));
    if (lower % 2 == 0)
        --lower;
    const int upper = lower + 2;
    const double m = std::round((12.0 * sigma * sigma - 3.0 * lower * lower - 12.0 * lower - 9.0) / (-4.0 * lower - 4.0));
    std::array<int, 3> radii{};
    for (int i = 0; i < 3; ++i)
        radii[size_t(i)] = ((i < m ? lower : upper) - 1) / 2;
    return radii;
}

// One box pass over a line of `count` pixels into `out`, `stride` apart; edges repeat the
// outermost pixel, as the blurred texture's edges are clamped.
void boxLine(const quint32 *in, quint32 *out, int count, int stride, int radius)
{
    const int window = 2 * radius + 1;
    // Division by the window as a multiplication, rounded.
    const quint64 scale = (quint64(1) << 32) / quint64(window);
    const quint64 half = quint64(1) << 31;
    quint32 sum[4] = {0, 0, 0, 0};
    auto at = [&](int i) { return in[i < 0 ? 0 : (i >= count ? count - 1 : i)]; };
    for (int i = -radius; i <= radius; ++i) {
        const quint32 p = at(i);
        sum[0] += p & 0xff;
        sum[1] += (p >> 8) & 0xff;
        sum[2] += (p >> 16) & 0xff;
        sum[3] += p >> 24;
    }
    for (int i = 0; i < count; ++i) {
        out[i * stride] = quint32((sum[0] * scale + half) >> 32) | quint32((sum[1] * scale + half) >> 32) << 8
            | quint32((sum[2] * scale + half) >> 32) << 16 | quint32((sum[3] * scale + half) >> 32) << 24;
        const quint32 in1 = at(i + radius + 1), out1 = at(i - radius);
        sum[0] += (in1 & 0xff) - (out1 & 0xff);
        sum[1] += ((in1 >> 8) & 0xff) - ((out1 >> 8) & 0xff);
        sum[2] += ((in1 >> 16) & 0xff) - ((out1 >> 16) & 0xff);
        sum[3] += (in1 >> 24) - (out1 >> 24);
    }
}

void blur(QImage &image, double sigma)
{
    const int w = image.width(), h = image.height();
    auto *pixels = reinterpret_cast<quint32 *>(image.bits());
    const int stride = int(image.bytesPerLine() / 4);
    std::vector<quint32> line(size_t(std::max(w, h)));
    for (const int radius : boxRadii(sigma)) {
        for (int y = 0; y < h; ++y) {
            quint32 *row = pixels + y * stride;
            std::copy(row, row + w, line.begin());
            boxLine(line.data(), row, w, 1, radius);
        }
        for (int x = 0; x < w; ++x) {
            for (int y = 0; y < h; ++y)
                line[size_t(y)] = pixels[y * stride + x];
            boxLine(line.data(), pixels + x, h, stride, radius);
        }
    }
}

} // namespace

SunsetImageProvider::SunsetImageProvider()
    : QQuickImageProvider(QQuickImageProvider::Image)
{
}

QImage SunsetImageProvider::requestImage(const QString &id, QSize *size, const QSize &)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(id);
    QImage image;
    if (match.hasMatch())
        image = render(QSize(match.captured(1).toInt(), match.captured(2).toInt()));
    if (size)
        *size = image.size();
    return image;
}

QImage SunsetImageProvider::render(QSize canvas)
{
    if (canvas.isEmpty() || canvas.width() > largestCanvas || canvas.height() > largestCanvas)
        return {};
    const QSize drawn((canvas.width() + shrink - 1) / shrink, (canvas.height() + shrink - 1) / shrink);
    const double span = std::max(canvas.width(), canvas.height()) / double(shrink);
    const Theme theme;
    const std::array<Circle, 3> circles{{{0.12, 0.05, 0.62, theme.property("sunsetAccent").value<QColor>(), 0.42},
                                         {0.92, 0.30, 0.55, theme.property("sunsetPink").value<QColor>(), 0.30},
                                         {0.50, 1.05, 0.62, theme.property("sunsetIndigo").value<QColor>(), 0.20}}};
    QImage image(drawn, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        for (const Circle &circle : circles) {
            QColor color = circle.color;
            color.setAlphaF(float(circle.alpha));
            painter.setBrush(color);
            const double d = circle.diameter * span;
            painter.drawEllipse(QRectF(circle.cx * drawn.width() - d / 2, circle.cy * drawn.height() - d / 2, d, d));
        }
    }
    blur(image, blurSigma);
    return image;
}

} // namespace corvane
