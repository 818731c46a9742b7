#include "ReportFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace corvane::ReportFiles {

QString folder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString home = QDir::homePath();
    // Without a desktop folder Qt answers the home folder itself; both end up at home.
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir())
        return desktop;
    return home;
}

std::optional<QString> write(const QString &fileName, const QString &text, QString *error)
{
    const QString path = QDir(folder()).filePath(fileName);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    file.write(text.toUtf8());
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return path;
}

} // namespace corvane::ReportFiles
