#include "DesktopAccess.h"

#include "DesktopServices.h"

namespace corvane {
namespace {

DesktopServices *installed = nullptr;

} // namespace

DesktopServices *inspectorDesktop() { return installed; }

void setInspectorDesktop(DesktopServices *desktop) { installed = desktop; }

std::optional<QString> privateFolder() { return installed ? installed->privateTempDir() : std::nullopt; }

} // namespace corvane
