#include "DesktopAccess.h"

#include "LinuxDesktopServices.h"

namespace corvane {
namespace {

DesktopServices *overridden = nullptr;

} // namespace

DesktopServices &inspectorDesktop()
{
    static LinuxDesktopServices linux;
    return overridden ? *overridden : linux;
}

void setInspectorDesktop(DesktopServices *desktop)
{
    overridden = desktop;
}

std::optional<QString> privateFolder()
{
    return inspectorDesktop().privateTempDir();
}

} // namespace corvane
