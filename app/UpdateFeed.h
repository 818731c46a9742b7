#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

namespace corvane {

/** @brief One release as the feed describes it. */
struct Release {
    QString version;
    qulonglong build = 0;
    QUrl url;          ///< the zip archive
    QByteArray sha256; ///< 32 raw bytes
    QString notes;     ///< plain text, shown as such
};

/** @brief Which addresses the updater may fetch from. */
struct UrlPolicy {
    /** Plain http to 127.0.0.1 / ::1 / localhost (test feeds only). */
    bool allowLoopbackHttp = false;
    bool allows(const QUrl &url) const;
};

/** @brief The feed's JSON document read into a release, or why it was refused. */
struct FeedResult {
    std::optional<Release> release;
    QString error;
};

FeedResult parseFeed(const QByteArray &json, const UrlPolicy &policy);

/** Whether a release's build is above the running build, compared as numbers. */
bool isNewerBuild(qulonglong releaseBuild, const QString &currentBuild);

} // namespace corvane
