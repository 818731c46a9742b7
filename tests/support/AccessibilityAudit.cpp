#include "AccessibilityAudit.h"

#include <QHash>
#include <QMetaEnum>
#include <QQuickItem>
#include <QQuickWindow>

namespace corvane::test {
namespace {

using Role = QAccessible::Role;

// Roles a reader announces by name: a node of one of these without a name reads as nothing.
bool readsByName(Role role)
{
    switch (role) {
    case QAccessible::StaticText:
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ListItem:
    case QAccessible::List:
    case QAccessible::PageTab:
    case QAccessible::EditableText:
    case QAccessible::MenuItem:
    case QAccessible::Link:
    case QAccessible::ComboBox:
        return true;
    default:
        return false;
    }
}

// Roles whose name stands for what is drawn inside them (a button's label, a row's title).
bool namesItsContent(Role role)
{
    return (readsByName(role) && role != QAccessible::StaticText && role != QAccessible::List)
        || role == QAccessible::MenuBar  // a menu bar's entries take that role too
        || role == QAccessible::Heading; // a section heading reads its caption and count
}

QString roleName(Role role)
{
    const char *key = QMetaEnum::fromType<Role>().valueToKey(role);
    return key ? QString::fromLatin1(key) : QString::number(int(role));
}

// Compared as read: case, spacing and mnemonic marks ("&Help") aside.
QString folded(const QString &text) { return QString(text).remove(u'&').simplified().toCaseFolded(); }

/** On screen: visible, not fully transparent, and not clipped away by the window or a view. */
bool shownOnScreen(const QQuickItem *item)
{
    if (!item->isVisible() || item->width() <= 0 || item->height() <= 0 || !item->window())
        return false;
    QRectF area = item->mapRectToScene(item->boundingRect());
    for (const QQuickItem *p = item; p; p = p->parentItem()) {
        if (p->opacity() <= 0)
            return false;
        if (p != item && p->clip())
            area &= p->mapRectToScene(p->boundingRect());
    }
    area &= QRectF(QPointF(), item->window()->size());
    return !area.isEmpty();
}

enum class Kind { None, Text, Control };

/** Whether an item shows text (and which) or acts on a click. */
Kind kindOf(const QQuickItem *item, QString *text)
{
    const bool textItem = item->inherits("QQuickText") || item->inherits("QQuickTextEdit")
        || (item->inherits("QQuickPaintedItem") && item->property("text").userType() == QMetaType::QString);
    if (textItem) {
        *text = item->property("text").toString();
        return text->trimmed().isEmpty() ? Kind::None : Kind::Text;
    }
    if (item->inherits("QQuickTextInput") || item->inherits("QQuickAbstractButton"))
        return Kind::Control;
    if (item->inherits("QQuickMouseArea") && item->isEnabled() && item->property("acceptedButtons").toInt() != Qt::NoButton)
        return Kind::Control;
    // A click on a view's empty area (the view or its content item) is no control of its own.
    const bool view
        = item->inherits("QQuickFlickable") || (item->parentItem() && item->parentItem()->inherits("QQuickFlickable"));
    for (const QObject *child : item->children()) {
        if (!view && child->inherits("QQuickTapHandler") && child->property("enabled").toBool())
            return Kind::Control;
    }
    return Kind::None;
}

struct Walk {
    QList<AccessibleNode> nodes;
    QList<QString> paths;
    QHash<const QObject *, int> byObject;
    QList<bool> inComboBox; // the field inside a combo box is read through the box's name
    QStringList problems;
};

QString nodeLabel(const AccessibleNode &node) { return roleName(node.role) + QStringLiteral(" \"") + node.name + u'"'; }

void visit(QAccessibleInterface *iface, const QString &list, const QString &path, int depth, Walk &walk, bool inComboBox = false)
{
    if (!iface || !iface->isValid())
        return;
    AccessibleNode node;
    node.role = iface->role();
    node.name = iface->text(QAccessible::Name);
    // A Controls button names itself by its text when a reader is there as it is made; switched on
    // later, as here without a desktop reader, it does not, so read its text the way it would.
    if (node.name.isEmpty() && iface->object() && iface->object()->inherits("QQuickAbstractButton"))
        node.name = iface->object()->property("text").toString();
    node.description = iface->text(QAccessible::Description);
    node.value = iface->text(QAccessible::Value);
    node.list = list;
    node.depth = depth;
    if (iface->state().invisible)
        node.shown = false;
    else if (const auto *item = qobject_cast<const QQuickItem *>(iface->object()))
        node.shown = shownOnScreen(item);

    const QString here = path.isEmpty() ? nodeLabel(node) : path + QStringLiteral(" > ") + nodeLabel(node);
    const int index = int(walk.nodes.size());
    walk.nodes.append(node);
    walk.paths.append(here);
    walk.inComboBox.append(inComboBox);
    if (iface->object())
        walk.byObject.insert(iface->object(), index);

    const bool isList = node.role == QAccessible::List || node.role == QAccessible::Tree || node.role == QAccessible::Table;
    for (int i = 0; i < iface->childCount(); ++i)
        visit(iface->child(i), isList ? node.name : list, here, depth + 1, walk,
              inComboBox || node.role == QAccessible::ComboBox);
}

Walk walkWindow(QQuickWindow *window)
{
    // What a reader's arrival does: controls made since set their roles now.
    QAccessible::setActive(true);
    Walk walk;
    visit(QAccessible::queryAccessibleInterface(window), {}, {}, 0, walk);
    return walk;
}

/** The text an AT-SPI client reads through the text interface, besides name and value. */
QString textOf(QAccessibleInterface *iface)
{
    if (QAccessibleTextInterface *text = iface ? iface->textInterface() : nullptr)
        return text->text(0, text->characterCount());
    return {};
}

void checkNodes(const QStringList &secrets, Walk &walk)
{
    for (qsizetype i = 0; i < walk.nodes.size(); ++i) {
        const AccessibleNode &node = walk.nodes.at(i);
        if (node.shown && readsByName(node.role) && node.name.trimmed().isEmpty() && !walk.inComboBox.at(i))
            walk.problems << QStringLiteral("no name: ") + walk.paths.at(i);
        if (node.shown && node.role == QAccessible::ListItem && node.list.isEmpty())
            walk.problems << QStringLiteral("list item outside a list: ") + walk.paths.at(i);
    }
    if (secrets.isEmpty())
        return;
    for (auto it = walk.byObject.cbegin(); it != walk.byObject.cend(); ++it) {
        const AccessibleNode &node = walk.nodes.at(it.value());
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(const_cast<QObject *>(it.key()));
        const QString read = node.name + u'\n' + node.description + u'\n' + node.value + u'\n' + textOf(iface);
        for (const QString &secret : secrets) {
            if (!secret.isEmpty() && read.contains(secret))
                walk.problems << QStringLiteral("a secret's clear text is readable: ") + walk.paths.at(it.value());
        }
    }
}

/** Every shown text and control is a named node or part of a named control or row above it. */
void checkItems(QQuickItem *item, Walk &walk)
{
    if (!item->isVisible())
        return;
    QString text;
    const Kind kind = kindOf(item, &text);
    if (kind != Kind::None && shownOnScreen(item)) {
        bool readable = false;
        if (const auto own = walk.byObject.constFind(item); own != walk.byObject.cend()) {
            const AccessibleNode &node = walk.nodes.at(*own);
            readable = node.role != QAccessible::NoRole && !node.name.trimmed().isEmpty();
        }
        QString above;
        for (const QQuickItem *p = item->parentItem(); p && !readable; p = p->parentItem()) {
            const auto at = walk.byObject.constFind(p);
            if (at == walk.byObject.cend())
                continue;
            const AccessibleNode &node = walk.nodes.at(*at);
            if (above.isEmpty())
                above = walk.paths.at(*at);
            if (!namesItsContent(node.role) || node.name.trimmed().isEmpty())
                continue;
            readable = kind == Kind::Control || folded(node.name + u' ' + node.description).contains(folded(text));
        }
        if (!readable) {
            const QString what = kind == Kind::Text ? QStringLiteral("text \"%1\"").arg(text) : QStringLiteral("control");
            walk.problems << QStringLiteral("unreadable %1 (%2%3) in %4")
                                 .arg(what, QString::fromLatin1(item->metaObject()->className()),
                                      item->objectName().isEmpty() ? QString() : u' ' + item->objectName(),
                                      above.isEmpty() ? QStringLiteral("the window") : above);
        }
    }
    for (QQuickItem *child : item->childItems())
        checkItems(child, walk);
}

} // namespace

QList<AccessibleNode> readAccessibleTree(QQuickWindow *window) { return walkWindow(window).nodes; }

QList<AccessibleNode> findAccessible(QQuickWindow *window, QAccessible::Role role, const QString &name, bool shownOnly)
{
    QList<AccessibleNode> found;
    for (const AccessibleNode &node : readAccessibleTree(window)) {
        if ((node.shown || !shownOnly) && node.role == role && node.name == name)
            found.append(node);
    }
    return found;
}

QStringList auditAccessibility(QQuickWindow *window, const QStringList &secrets)
{
    Walk walk = walkWindow(window);
    checkNodes(secrets, walk);
    checkItems(window->contentItem(), walk);
    return walk.problems;
}

QString dumpAccessibleTree(QQuickWindow *window)
{
    QString out;
    for (const AccessibleNode &node : readAccessibleTree(window)) {
        out += QString(node.depth * 2, u' ') + nodeLabel(node);
        if (!node.value.isEmpty())
            out += QStringLiteral(" value \"%1\"").arg(node.value);
        if (!node.shown)
            out += QStringLiteral(" (not shown)");
        out += u'\n';
    }
    return out;
}

} // namespace corvane::test
