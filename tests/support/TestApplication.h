#pragma once

namespace corvane::test {

/** The one GUI application of a test program, made on first use; offscreen unless a platform is set. */
void ensureGuiApplication();

} // namespace corvane::test
