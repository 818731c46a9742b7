#pragma once

#include <QObject>

namespace corvane {

/**
 * @brief The desktop's accessibility preferences Corvane follows: reduce motion and transparency.
 *
 * Holds the current values; implementations feed them through update(). Defaults: motion and
 * transparency allowed.
 */
class DesktopSettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool reduceMotion READ reduceMotion NOTIFY reduceMotionChanged)
    Q_PROPERTY(bool reduceTransparency READ reduceTransparency NOTIFY reduceTransparencyChanged)

public:
    bool reduceMotion() const { return m_reduceMotion; }
    bool reduceTransparency() const { return m_reduceTransparency; }

signals:
    void reduceMotionChanged();
    void reduceTransparencyChanged();

protected:
    explicit DesktopSettings(QObject *parent = nullptr)
        : QObject(parent)
    {
    }
    /** Stores the values, emitting only for those that changed. */
    void update(bool reduceMotion, bool reduceTransparency);

private:
    bool m_reduceMotion = false;
    bool m_reduceTransparency = false;
};

} // namespace corvane
