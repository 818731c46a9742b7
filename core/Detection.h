#pragma once

#include "ClipGroup.h"

#include <QString>

#include <optional>

namespace corvane {

/** @brief What content detection made of a text: its group and, for code and secrets, a detail. */
struct Detection {
    ClipGroup group = ClipGroup::text;
    /** Language name for code ("JSON", "Python"), token kind for secrets, notation for colours. */
    std::optional<QString> detail;

    friend bool operator==(const Detection &, const Detection &) = default;
};

} // namespace corvane
