#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace corvane {

/**
 * @brief What the diagnostics report says about this system and this Corvane.
 *
 * Holds only descriptions of the setup, never clip contents, notes or titles: the report is
 * meant to be attached to a mail.
 */
struct DiagnosticsInfo {
    using Lines = QList<QPair<QString, QString>>;

    QString version;
    QString build;
    QString generatedAt;
    Lines system;   ///< Qt, OS, kernel, CPU, memory
    Lines session;  ///< session type, desktop, platform plugin
    Lines services; ///< tray, hot keys, clipboard backend, login item
    QString databasePath;
    QString databaseError; ///< why there is no database, when there is none
    int schemaVersion = 0;
    qint64 clipCount = 0;
    Lines clipsPerGroup;
    qint64 storageUsed = 0;
    qint64 storageLimit = 0;
    Lines settings;
    int exclusionCount = 0;
    int recentSkipCount = 0;
};

namespace DiagnosticsReport {

/** The system part of the report: Qt, OS, kernel, CPU and memory. */
DiagnosticsInfo::Lines systemLines();
/** Session type, desktop and Qt platform plugin. */
DiagnosticsInfo::Lines sessionLines();

/** The report as plain text. */
QString format(const DiagnosticsInfo &info);

} // namespace DiagnosticsReport
} // namespace corvane
