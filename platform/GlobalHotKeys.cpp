#include "GlobalHotKeys.h"

namespace corvane {

QString hotKeyStatusText(HotKeyStatus status)
{
    switch (status) {
    case HotKeyStatus::registered:
        return QStringLiteral("registered");
    case HotKeyStatus::heldByOtherClient:
        return QStringLiteral("held by another program");
    case HotKeyStatus::unavailable:
        return QStringLiteral("unavailable without X11");
    case HotKeyStatus::invalid:
        return QStringLiteral("not a single key combination on this keyboard");
    }
    return {};
}

} // namespace corvane
