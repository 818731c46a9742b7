#pragma once

class QQmlEngine;

namespace corvane {

/** Makes `import Corvane.Design` work in `engine`, with its icon image provider. */
void installDesign(QQmlEngine &engine);

} // namespace corvane
