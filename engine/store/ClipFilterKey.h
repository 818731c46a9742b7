#pragma once

#include "ClipFilter.h"

#include <QString>

#include <optional>

namespace corvane::ClipFilterKey {

/**
 * A filter as text, for QML: "all", "pinned", "group:<raw>", "tag:<raw>", "day:<seconds>" (start of
 * the day, seconds since 1970) or "app:<source key>".
 */
QString toKey(const ClipFilter &filter);
/** The filter of a key; nothing for text that names no filter. */
std::optional<ClipFilter> fromKey(const QString &key);

} // namespace corvane::ClipFilterKey
