#!/usr/bin/python3
"""Prints an application's accessibility tree as an AT-SPI client (a screen reader) reads it.

One line a node: depth, role, name, text (text interface), "showing" or nothing; tab-separated.
With a second argument, instead runs the "Press" action of the first node of that name.
"""
import sys

import pyatspi


def walk(node, depth):
    text = ""
    try:
        iface = node.queryText()
        text = iface.getText(0, -1)
    except NotImplementedError:
        pass
    showing = "showing" if node.getState().contains(pyatspi.STATE_SHOWING) else ""
    fields = [str(depth), node.getRoleName(), node.name or "", text, showing]
    print("\t".join(f.replace("\t", " ").replace("\n", " ") for f in fields))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, depth + 1)


def press(node, name):
    if node.name == name:
        try:
            action = node.queryAction()
        except NotImplementedError:
            return False
        for i in range(action.nActions):
            if action.getName(i) == "Press":
                return action.doAction(i)
        return False
    return any(press(node.getChildAtIndex(i), name) for i in range(node.childCount))


def main():
    wanted = sys.argv[1]
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == wanted:
            if len(sys.argv) > 2:
                return 0 if press(app, sys.argv[2]) else 3
            walk(app, 0)
            return 0
    print("no application named %s on the accessibility bus" % wanted, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main())
