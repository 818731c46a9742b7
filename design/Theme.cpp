#include "Theme.h"

#include "ColorHex.h"
#include "ColorTag.h"

#include <QFontDatabase>
#include <QFontMetricsF>

namespace corvane {
namespace {

QColor withAlpha(QColor c, qreal alpha)
{
    c.setAlphaF(float(alpha));
    return c;
}

} // namespace

bool Theme::isFixedPitch(const QFont &font)
{
    const QFontMetricsF metrics(font);
    return metrics.horizontalAdvance(QStringLiteral("iiii")) == metrics.horizontalAdvance(QStringLiteral("MMMM"));
}

Theme::Theme(QObject *parent)
    : QObject(parent)
    , m_cream(0xFFF4E8)
    , m_accent(0xFF5E3A)
    , m_pink(0xFF3D8B)
    , m_ink(0x1E1A2E)
    , m_muted(0x6B6480)
    , m_faint(withAlpha(QColor(0x6B6480), 0.7))
    , m_danger(0xE5484D)
    , m_green(0x2FBF71)
    , m_indigo(0x6A4CFF)
    , m_panel(withAlpha(Qt::white, 0.7))
    , m_panelStrong(withAlpha(Qt::white, 0.88))
    , m_hoverShade(withAlpha(Qt::black, 0.05))
    , m_stroke(withAlpha(Qt::white, 0.8))
    , m_hairline(withAlpha(QColor(0x1E1A2E), 0.08))
    , m_onAccent(Qt::white)
    , m_highlight(withAlpha(QColor(0xFFD56B), 0.6))
{
}

QString Theme::monospaceFamily()
{
    static const QString family = [] {
        const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        // Without a desktop theme Qt answers with the general font; fontconfig's alias is fixed-pitch.
        // Measured, since some fixed-pitch fonts do not declare their spacing to fontconfig.
        return isFixedPitch(fixed) ? fixed.family() : QStringLiteral("monospace");
    }();
    return family;
}

QColor Theme::colorFromHex(const QString &hex) const { return corvane::colorFromHex(hex); }

QColor Theme::tagColor(int rawValue) const
{
    const auto tag = ColorTags::fromRawValue(rawValue);
    return tag ? corvane::colorFromHex(ColorTags::colorHex(*tag)) : QColor(Qt::transparent);
}

} // namespace corvane
