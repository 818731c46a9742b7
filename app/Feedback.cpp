#include "Feedback.h"

#include "AppInfo.h"
#include "DesktopServices.h"
#include "ReportFiles.h"

#include <QUrlQuery>

namespace corvane::Feedback {

QUrl mailUrl(const QString &address, const QString &reportPath)
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"),
                       QStringLiteral("Corvane Feedback (version %1, build %2)").arg(appVersion(), appBuild()));
    query.addQueryItem(QStringLiteral("body"),
                       QStringLiteral("What happened, and what did you expect?\n\n\n\n"
                                      "Please attach the diagnostics report, shown in your file manager:\n%1\n"
                                      "It describes your system and Corvane's setup, never your clips.")
                           .arg(reportPath));
    url.setQuery(query);
    return url;
}

QString send(DesktopServices &desktop, const QString &diagnostics)
{
    QString error;
    const auto path = ReportFiles::write(QString::fromLatin1(ReportFiles::diagnosticsFileName), diagnostics, &error);
    if (!path)
        return error;
    desktop.showInFileManager({*path});
    desktop.openUrl(mailUrl(feedbackAddress(), *path));
    return {};
}

} // namespace corvane::Feedback
