#pragma once

#include <QJSEngine>

namespace corvane {

/** Hands every QML engine the one process-wide `T::instance()`, which engines must not delete. */
template<typename T> T *processSingleton()
{
    QJSEngine::setObjectOwnership(&T::instance(), QJSEngine::CppOwnership);
    return &T::instance();
}

} // namespace corvane
