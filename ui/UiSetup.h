#pragma once

class QQmlEngine;

namespace corvane {

class ClipboardStore;

/** Makes the screens' modules (Corvane.Ui, .Main, .Menubar, .Sidebar, .Inspector, .Settings) and the store's images work in `engine`. */
void installUi(QQmlEngine &engine, ClipboardStore *store);

/** The address the shell loads the popover from. */
inline constexpr char menuBarPopoverUrl[] = "qrc:/qt-project.org/imports/Corvane/Menubar/MenuBarPopoverView.qml";

} // namespace corvane
