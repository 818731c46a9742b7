#pragma once

#include <QString>

#include <cstdint>

namespace corvane {

/** @brief A source of clips for the sidebar. */
struct SourceApp {
    /** A bundle id, or "web:" + host without "www.". */
    QString bundleID;
    /** The host for a web source, else the app name of the newest clip from it, else "Unknown". */
    QString name;
    std::int64_t count = 0;

    bool operator==(const SourceApp &) const = default;
};

} // namespace corvane
