#pragma once

#include <QColor>
#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/** @brief The sunset palette (the design's `Color.sunset…`), the accent gradient stops and colour helpers for QML. */
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

public:
    explicit Theme(QObject *parent = nullptr);

    QColor accentGradientStart() const { return m_accent; }
    QColor accentGradientEnd() const { return m_pink; }

    Q_INVOKABLE QColor colorFromHex(const QString &hex) const;
    /** Display colour of the colour tag with this raw value (0-6); transparent when unknown. */
    Q_INVOKABLE QColor tagColor(int rawValue) const;

private:
    QColor m_cream, m_accent, m_pink, m_ink, m_muted, m_faint, m_danger, m_green, m_indigo;
    QColor m_panel, m_panelStrong, m_hoverShade, m_stroke, m_hairline, m_onAccent, m_highlight;
};

} // namespace corvane
