#pragma once

#include <QString>

namespace corvane {

/** The build number compiled in, or "1" when the build gave none. */
QString appBuild();
/** The marketing version compiled in ("0.1.0"). */
QString appVersion();
/** The feedback address compiled in. */
QString feedbackAddress();
/** The release feed address compiled in; empty when this build has no update source. */
QString updateFeedUrl();

/** The build text as given, or "1" when it is empty or not a number. */
QString normalizedBuild(const QString &raw);

} // namespace corvane
