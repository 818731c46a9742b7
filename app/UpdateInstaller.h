#pragma once

#include "UpdateFeed.h"

#include <QString>

namespace corvane {

/**
 * @brief Puts a downloaded release in place of a portable install.
 *
 * A portable install is the folder of the running executable when the user owns it and its
 * parent (never a package manager's folder). The archive is checked against the release's
 * SHA-256 before anything is unpacked; it is unpacked beside the install, then the two folders are
 * swapped, keeping the old one as "<name>.previous".
 */
class UpdateInstaller
{
public:
    struct Result {
        bool ok = false;
        QString error;
        QString executable; ///< the new executable to relaunch
    };

    /** Whether `folder` (holding the running executable) may be replaced by the updater. */
    static bool isPortableInstall(const QString &folder);

    /** Verifies, unpacks and swaps; safe to run off the main thread. */
    static Result install(const QByteArray &archive, const Release &release, const QString &installFolder,
                          const QString &executableName);
};

} // namespace corvane
