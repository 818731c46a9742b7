#pragma once

class QQmlEngine;

namespace corvane {

/** Makes `import Corvane.Design` work in `engine`, with its icon and backdrop image providers. */
void installDesign(QQmlEngine &engine);

} // namespace corvane
