#pragma once

#include <QAccessible>
#include <QList>
#include <QString>
#include <QStringList>

class QQuickWindow;

namespace corvane::test {

/** One node of a window's accessibility tree, as a screen reader gets it. */
struct AccessibleNode {
    QAccessible::Role role = QAccessible::NoRole;
    QString name;
    QString description;
    QString value;
    QString list;      // name of the nearest list above the node, empty when there is none
    bool shown = true; // on screen: visible, not transparent, not clipped or scrolled away
    int depth = 0;
};

/**
 * The accessibility tree of `window`, depth first, read through QAccessible as the AT-SPI bridge
 * reads it. Accessibility is switched on first, as a screen reader's arrival does.
 */
QList<AccessibleNode> readAccessibleTree(QQuickWindow *window);

/** The nodes with `role` and exactly `name`: the shown ones, or all with `shownOnly` false. */
QList<AccessibleNode> findAccessible(QQuickWindow *window, QAccessible::Role role, const QString &name, bool shownOnly = true);

/**
 * What a screen reader could not read on `window`; empty when all is well. Reports a shown text
 * or control that is neither a node with a role and a name nor part of a named control or row
 * above it, a shown node of a reading role without a name, a list item outside any list, and any
 * node (shown or not) whose name, description or value contains one of `secrets`.
 */
QStringList auditAccessibility(QQuickWindow *window, const QStringList &secrets = {});

/** The tree as indented lines, for failure messages. */
QString dumpAccessibleTree(QQuickWindow *window);

} // namespace corvane::test
