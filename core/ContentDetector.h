#pragma once

#include "Detection.h"

#include <QStringView>

namespace corvane::ContentDetector {

/**
 * Sorts a text into a clip group. Only text groups come out of here (never image or file);
 * the rules run in a fixed order and the first that matches wins.
 */
Detection detect(QStringView text);

} // namespace corvane::ContentDetector
