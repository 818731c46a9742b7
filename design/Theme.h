#pragma once

#include <QColor>
#include <QFont>
#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/**
 * @brief The sunset palette (the design's `Color.sunset…`), the accent gradient stops, colour
 * helpers and the type scale for QML.
 *
 * Font sizes are for `font.pointSize`: the design gives them in pixels at 96 dpi, where a point is
 * 4/3 of a pixel, so 13 px is 9.75 pt. Half pixels stay exact that way.
 */
class Theme : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(QColor sunsetCream MEMBER m_cream CONSTANT)
    Q_PROPERTY(QColor sunsetAccent MEMBER m_accent CONSTANT)
    Q_PROPERTY(QColor sunsetPink MEMBER m_pink CONSTANT)
    Q_PROPERTY(QColor sunsetInk MEMBER m_ink CONSTANT)
    Q_PROPERTY(QColor sunsetMuted MEMBER m_muted CONSTANT)
    Q_PROPERTY(QColor sunsetFaint MEMBER m_faint CONSTANT)
    Q_PROPERTY(QColor sunsetDanger MEMBER m_danger CONSTANT)
    Q_PROPERTY(QColor sunsetGreen MEMBER m_green CONSTANT)
    Q_PROPERTY(QColor sunsetIndigo MEMBER m_indigo CONSTANT)
    Q_PROPERTY(QColor sunsetPanel MEMBER m_panel CONSTANT)
    Q_PROPERTY(QColor sunsetPanelStrong MEMBER m_panelStrong CONSTANT)
    Q_PROPERTY(QColor sunsetHoverShade MEMBER m_hoverShade CONSTANT)
    Q_PROPERTY(QColor sunsetStroke MEMBER m_stroke CONSTANT)
    Q_PROPERTY(QColor sunsetHairline MEMBER m_hairline CONSTANT)
    Q_PROPERTY(QColor sunsetOnAccent MEMBER m_onAccent CONSTANT)
    Q_PROPERTY(QColor sunsetHighlight MEMBER m_highlight CONSTANT)
    /** Stops of the accent gradient, leading to trailing. */
    Q_PROPERTY(QColor accentGradientStart READ accentGradientStart CONSTANT)
    Q_PROPERTY(QColor accentGradientEnd READ accentGradientEnd CONSTANT)

    /** 10 px: calendar weekdays, small labels in cards. */
    Q_PROPERTY(qreal tinySize READ tinySize CONSTANT)
    /** 10.5 px: section headings, subtitles, key legends, banners. */
    Q_PROPERTY(qreal captionSize READ captionSize CONSTANT)
    /** 11 px: captions under titles, sources, field labels. */
    Q_PROPERTY(qreal footnoteSize READ footnoteSize CONSTANT)
    /** 11.5 px: chips, pinned cards' titles. */
    Q_PROPERTY(qreal calloutSize READ calloutSize CONSTANT)
    /** 12 px: secondary text, small buttons, monospaced popover titles. */
    Q_PROPERTY(qreal subheadSize READ subheadSize CONSTANT)
    /** 12.5 px: a popover row's title. */
    Q_PROPERTY(qreal popoverTitleSize READ popoverTitleSize CONSTANT)
    /** 13 px: body text, fields, buttons, monospaced list titles. */
    Q_PROPERTY(qreal bodySize READ bodySize CONSTANT)
    /** 13.5 px: a list row's title. */
    Q_PROPERTY(qreal listTitleSize READ listTitleSize CONSTANT)
    /** 14 px: sheet titles, tour text. */
    Q_PROPERTY(qreal headlineSize READ headlineSize CONSTANT)
    /** 15 px: card titles. */
    Q_PROPERTY(qreal title3Size READ title3Size CONSTANT)
    /** 18 px: the inspector's and welcome page's titles. */
    Q_PROPERTY(qreal title2Size READ title2Size CONSTANT)
    /** 20 px: tour page titles. */
    Q_PROPERTY(qreal title1Size READ title1Size CONSTANT)
    /** 24 px: the empty list's title. */
    Q_PROPERTY(qreal largeTitleSize READ largeTitleSize CONSTANT)
    /** The desktop's fixed-pitch family, for code-like text. */
    Q_PROPERTY(QString monospaceFamily READ monospaceFamily CONSTANT)

public:
    explicit Theme(QObject *parent = nullptr);

    QColor accentGradientStart() const { return m_accent; }
    QColor accentGradientEnd() const { return m_pink; }

    /** The point size of a design size in pixels at 96 dpi. */
    static constexpr qreal points(qreal pixels) { return pixels * 0.75; }
    static constexpr qreal tinySize() { return points(10); }
    static constexpr qreal captionSize() { return points(10.5); }
    static constexpr qreal footnoteSize() { return points(11); }
    static constexpr qreal calloutSize() { return points(11.5); }
    static constexpr qreal subheadSize() { return points(12); }
    static constexpr qreal popoverTitleSize() { return points(12.5); }
    static constexpr qreal bodySize() { return points(13); }
    static constexpr qreal listTitleSize() { return points(13.5); }
    static constexpr qreal headlineSize() { return points(14); }
    static constexpr qreal title3Size() { return points(15); }
    static constexpr qreal title2Size() { return points(18); }
    static constexpr qreal title1Size() { return points(20); }
    static constexpr qreal largeTitleSize() { return points(24); }
    /** The desktop's fixed font, else the "monospace" alias when its theme names none. */
    static QString monospaceFamily();
    /** Whether every glyph of @p font is as wide as the next. */
    static bool isFixedPitch(const QFont &font);

    Q_INVOKABLE QColor colorFromHex(const QString &hex) const;
    /** Display colour of the colour tag with this raw value (0-6); transparent when unknown. */
    Q_INVOKABLE QColor tagColor(int rawValue) const;

private:
    QColor m_cream, m_accent, m_pink, m_ink, m_muted, m_faint, m_danger, m_green, m_indigo;
    QColor m_panel, m_panelStrong, m_hoverShade, m_stroke, m_hairline, m_onAccent, m_highlight;
};

} // namespace corvane
