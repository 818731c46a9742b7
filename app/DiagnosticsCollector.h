#pragma once

#include "DiagnosticsReport.h"

namespace corvane {

class AppSettings;
class ClipboardStore;
class GlobalHotKeys;
class StatusItemController;

/** @brief The live objects the diagnostics report describes; any may be missing. */
struct DiagnosticsSources {
    ClipboardStore *store = nullptr;
    AppSettings *settings = nullptr;
    GlobalHotKeys *hotKeys = nullptr;
    StatusItemController *statusItem = nullptr;
    /** The hot-key ids with their legends ("Super+Shift+V"). */
    QList<QPair<QString, QString>> hotKeyLegends;
    QString databasePath;
};

/** Gathers the report's facts from the running app: counts and settings, never clip contents. */
DiagnosticsInfo collectDiagnostics(const DiagnosticsSources &sources);

} // namespace corvane
