#pragma once

#include <QString>
#include <QUrl>

#include "UiSetup.h"

namespace corvane::AppUrls {

// The root views hosted by the shell's windows.
inline const QUrl mainView{QStringLiteral("qrc:/qt-project.org/imports/Corvane/Main/MainView.qml")};
inline const QUrl settingsView{QStringLiteral("qrc:/qt-project.org/imports/Corvane/Settings/SettingsView.qml")};
inline const QUrl popoverView{QString::fromLatin1(menuBarPopoverUrl)};

inline const QUrl mainWindow{QStringLiteral("qrc:/qt-project.org/imports/Corvane/App/qml/MainWindow.qml")};
inline const QUrl settingsWindow{QStringLiteral("qrc:/qt-project.org/imports/Corvane/App/qml/SettingsWindow.qml")};
inline const QUrl popoverWindow{QStringLiteral("qrc:/qt-project.org/imports/Corvane/App/qml/PopoverWindow.qml")};
inline const QUrl pasteQueuePanel{QStringLiteral("qrc:/qt-project.org/imports/Corvane/App/qml/PasteQueuePanel.qml")};

/** `url` when it is part of this build, else `fallback`. */
QUrl existing(const QUrl &url, const QUrl &fallback = {});

} // namespace corvane::AppUrls
