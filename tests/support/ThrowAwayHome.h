#pragma once

#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <initializer_list>

namespace corvane::test {

/**
 * The environment of a program run in the throw-away `home`, on X11: HOME, and the XDG config,
 * data and cache folders and a private run folder inside it ("config", "data", "cache", "run").
 */
QProcessEnvironment throwAwayHomeEnvironment(const QTemporaryDir &home);

/** Points this process's HOME, and the XDG folders named (each a folder of that name in `home`), at `home`. */
void useThrowAwayHome(const QTemporaryDir &home,
                      std::initializer_list<const char *> names = {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"});

} // namespace corvane::test
