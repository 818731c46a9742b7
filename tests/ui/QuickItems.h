#pragma once

#include <QQuickItem>

namespace corvane::test {

/** An item by object name among the visual descendants (delegates have no QObject parent). */
inline QQuickItem *findItem(QQuickItem *root, const QString &name)
{
    for (QQuickItem *child : root->childItems()) {
        if (child->objectName() == name)
            return child;
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}

} // namespace corvane::test
