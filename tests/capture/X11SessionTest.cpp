#include "X11Session.h"

#include <gtest/gtest.h>

using namespace corvane;

TEST(X11Session, ForcesXcbOnlyInAWaylandSessionWithX11)
{
    struct Case {
        QStringList environment;
        bool xcb;
    };
    const Case cases[] = {
        {{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"}, true},
        {{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:1"}, true},
        {{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=wayland-0"}, false}, // no XWayland
        {{"XDG_SESSION_TYPE=x11", "DISPLAY=:0"}, false},                    // Qt picks xcb itself
        {{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0", "QT_QPA_PLATFORM=offscreen"}, false},
        {{}, false},
    };
    for (const Case &c : cases) {
        QProcessEnvironment environment;
        for (const QString &entry : c.environment)
            environment.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));
        const auto platform = X11Session::platformOverride(environment);
        EXPECT_EQ(platform.has_value(), c.xcb) << c.environment.join(' ').toStdString();
        if (platform) {
            EXPECT_EQ(*platform, "xcb");
        }
    }
}
