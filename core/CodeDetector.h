#pragma once

#include "Detection.h"

#include <QStringView>

#include <optional>

namespace corvane::CodeDetector {

/**
 * Recognises source code and names its language where a clear marker shows it ("JSON", "Shell",
 * "C/C++", "Python", "Swift", "JavaScript", "HTML", "SQL"); generic code has no detail.
 * Nothing when the (trimmed) text does not look like code.
 */
std::optional<Detection> detect(QStringView text);

} // namespace corvane::CodeDetector
