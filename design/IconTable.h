#pragma once

#include <QString>
#include <QStringList>

namespace corvane::IconTable {

/** Every symbol name the product uses, in table order. */
QStringList names();
/** File name (in `directory()`) of the SVG drawn for a symbol name; empty when unknown. */
QString fileName(const QString &symbol);
/** Full path of the SVG for a symbol name; empty when unknown. */
QString path(const QString &symbol);
/** The folder holding the icon set's SVG files. */
QString directory();

} // namespace corvane::IconTable
