#pragma once

#include <QKeySequence>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace corvane::KeyLegend {

/** Super+Shift+V: show or hide the main window. */
QKeySequence showWindow();
/** Super+Alt+V: the next paste-queue item. */
QKeySequence nextPasteItem();
/** The window's keys: settings, pin, tag, Quick Look, find, add to the paste queue. */
QKeySequence settings();
QKeySequence pin();
QKeySequence tag();
QKeySequence quickLook();
QKeySequence find();
QKeySequence collect();
/** Ctrl+1 … Ctrl+9: copy the popover's row of that number. */
QKeySequence rowNumber(int number);

/** A key as Linux desktops name it: "Super+Shift+V" (Qt says "Meta"). */
QString text(const QKeySequence &sequence);

} // namespace corvane::KeyLegend

namespace corvane {

/**
 * @brief The key legends for QML, as the desktop writes them ("Ctrl+P", "Super+Shift+V"), and the
 * window keys' sequences for `Shortcut.sequence` and `Action.shortcut`, so no view spells a key.
 */
class KeyLegends : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(QString showWindow READ showWindow CONSTANT)
    Q_PROPERTY(QString nextPasteItem READ nextPasteItem CONSTANT)
    Q_PROPERTY(QString settings READ settings CONSTANT)
    Q_PROPERTY(QString pin READ pin CONSTANT)
    Q_PROPERTY(QString tag READ tag CONSTANT)
    Q_PROPERTY(QString quickLook READ quickLook CONSTANT)
    Q_PROPERTY(QString find READ find CONSTANT)
    /** The Return and Delete keys are drawn as their symbols. */
    Q_PROPERTY(QString copy READ copy CONSTANT)
    Q_PROPERTY(QString remove READ remove CONSTANT)
    /** Sequences in Qt's portable form (what Shortcut and Action parse), untranslated. */
    Q_PROPERTY(QString settingsSequence READ settingsSequence CONSTANT)
    Q_PROPERTY(QString tagSequence READ tagSequence CONSTANT)
    Q_PROPERTY(QString quickLookSequence READ quickLookSequence CONSTANT)
    Q_PROPERTY(QString findSequence READ findSequence CONSTANT)

public:
    using QObject::QObject;

    static QString showWindow() { return KeyLegend::text(KeyLegend::showWindow()); }
    static QString nextPasteItem() { return KeyLegend::text(KeyLegend::nextPasteItem()); }
    static QString settings() { return KeyLegend::text(KeyLegend::settings()); }
    static QString pin() { return KeyLegend::text(KeyLegend::pin()); }
    static QString tag() { return KeyLegend::text(KeyLegend::tag()); }
    static QString quickLook() { return KeyLegend::text(KeyLegend::quickLook()); }
    static QString find() { return KeyLegend::text(KeyLegend::find()); }
    static QString copy() { return QStringLiteral("\u23CE"); }
    static QString remove() { return QStringLiteral("\u232B"); }
    static QString settingsSequence() { return KeyLegend::settings().toString(QKeySequence::PortableText); }
    static QString tagSequence() { return KeyLegend::tag().toString(QKeySequence::PortableText); }
    static QString quickLookSequence() { return KeyLegend::quickLook().toString(QKeySequence::PortableText); }
    static QString findSequence() { return KeyLegend::find().toString(QKeySequence::PortableText); }
};

} // namespace corvane
