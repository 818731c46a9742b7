#include "AppUrls.h"

#include <QFile>

namespace corvane::AppUrls {

QUrl existing(const QUrl &url, const QUrl &fallback) { return QFile::exists(QLatin1Char(':') + url.path()) ? url : fallback; }

} // namespace corvane::AppUrls
