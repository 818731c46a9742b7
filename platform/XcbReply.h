#pragma once

#include <cstdlib>
#include <memory>

namespace corvane {

/** Frees what xcb allocated for a reply, an event or an error. */
struct XcbFree {
    void operator()(void *p) const { std::free(p); }
};

/** An xcb reply (or event, or error) owned until the end of its scope. */
template<typename T> using XcbReply = std::unique_ptr<T, XcbFree>;

} // namespace corvane
