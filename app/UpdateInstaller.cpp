#include "UpdateInstaller.h"

#include "ZipArchive.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

namespace corvane {
namespace {

UpdateInstaller::Result failure(const QString &message) { return {false, message, {}}; }

bool ownedAndWritable(const QFileInfo &info)
{
    return info.exists() && info.isDir() && info.ownerId() == ::getuid() && info.isWritable();
}

// A release archive holds the install's files, either directly or inside one top folder.
QString releaseRoot(const QString &unpacked)
{
    const QDir dir(unpacked);
    const QStringList items = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    if (items.size() == 1 && QFileInfo(dir.filePath(items.first())).isDir())
        return dir.filePath(items.first());
    return unpacked;
}

} // namespace

bool UpdateInstaller::isPortableInstall(const QString &folder)
{
    const QFileInfo install(folder);
    const QString canonical = install.canonicalFilePath();
    if (canonical.isEmpty() || canonical.startsWith(QLatin1String("/usr/")))
        return false;
    return ownedAndWritable(install) && ownedAndWritable(QFileInfo(install.absolutePath()));
}

UpdateInstaller::Result UpdateInstaller::install(const QByteArray &archive, const Release &release, const QString &installFolder,
                                                 const QString &executableName)
{
    // The checksum comes first: nothing of an unverified download is ever unpacked.
    if (QCryptographicHash::hash(archive, QCryptographicHash::Sha256) != release.sha256)
        return failure(QStringLiteral("The download does not match the release's SHA-256 checksum."));

    ZipArchive zip;
    if (!zip.open(archive))
        return failure(zip.error());

    const QFileInfo install(QDir::cleanPath(installFolder));
    QDir parent(install.absolutePath());
    const QString staging = parent.filePath(QStringLiteral(".%1.update-%2").arg(install.fileName()).arg(release.build));
    QDir(staging).removeRecursively();
    if (!zip.extractTo(staging)) {
        QDir(staging).removeRecursively();
        return failure(zip.error());
    }

    const QString root = releaseRoot(staging);
    const QFileInfo executable(QDir(root).filePath(executableName));
    if (!executable.isFile() || !executable.isExecutable()) {
        QDir(staging).removeRecursively();
        return failure(QStringLiteral("The release archive holds no \"%1\" program.").arg(executableName));
    }

    const QString previous = install.absoluteFilePath() + QStringLiteral(".previous");
    QDir(previous).removeRecursively();
    if (!parent.rename(install.absoluteFilePath(), previous)) {
        QDir(staging).removeRecursively();
        return failure(QStringLiteral("Could not move the current version aside."));
    }
    if (!parent.rename(root, install.absoluteFilePath())) {
        parent.rename(previous, install.absoluteFilePath());
        QDir(staging).removeRecursively();
        return failure(QStringLiteral("Could not put the new version in place."));
    }
    QDir(staging).removeRecursively();
    return {true, {}, QDir(install.absoluteFilePath()).filePath(executableName)};
}

} // namespace corvane
