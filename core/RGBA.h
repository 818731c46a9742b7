#pragma once

#include <QString>

namespace corvane {

/** @brief A colour as four channels, nominally 0-1. */
struct RGBA {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    /** "#RRGGBB", upper-case; channels clamped to 0-1 (NaN as 0) and rounded; alpha not written. */
    QString hexString() const;

    friend bool operator==(const RGBA &, const RGBA &) = default;
};

} // namespace corvane
