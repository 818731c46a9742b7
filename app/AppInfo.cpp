#include "AppInfo.h"

namespace corvane {

QString normalizedBuild(const QString &raw)
{
    const QString trimmed = raw.trimmed();
    bool ok = false;
    trimmed.toULongLong(&ok);
    return ok ? trimmed : QStringLiteral("1");
}

QString appBuild() { return normalizedBuild(QStringLiteral(CORVANE_BUILD_TEXT)); }
QString appVersion() { return QStringLiteral(CORVANE_VERSION_TEXT); }
QString feedbackAddress() { return QStringLiteral(CORVANE_FEEDBACK_TEXT); }
QString updateFeedUrl() { return QStringLiteral(CORVANE_FEED_TEXT).trimmed(); }

} // namespace corvane
