#pragma once

#include "MotionPreset.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/** @brief The design's animation presets and the stagger rules of entrances. */
class Animations : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(corvane::MotionPreset press READ press CONSTANT)
    Q_PROPERTY(corvane::MotionPreset hover READ hover CONSTANT)
    Q_PROPERTY(corvane::MotionPreset selection READ selection CONSTANT)
    Q_PROPERTY(corvane::MotionPreset reveal READ reveal CONSTANT)
    Q_PROPERTY(corvane::MotionPreset appear READ appear CONSTANT)

public:
    using QObject::QObject;

    static MotionPreset press();
    static MotionPreset hover();
    static MotionPreset selection();
    static MotionPreset reveal();
    static MotionPreset appear();

    Q_INVOKABLE corvane::MotionPreset spring(double response, double dampingFraction) const;

    /** Delay before the entrance of the `index`-th item: min(index, 10) steps of `stepSeconds`. */
    Q_INVOKABLE static int staggerDelay(int index, double stepSeconds);
    /** Items far down a list skip the staggered entrance and appear at once. */
    Q_INVOKABLE static bool appearsAtOnce(int index);
};

} // namespace corvane
