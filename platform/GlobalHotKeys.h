#pragma once

#include <QKeySequence>
#include <QObject>
#include <QString>

namespace corvane {

/** @brief How a global hot key fared. */
enum class HotKeyStatus {
    registered,        ///< grabbed; activated() will fire
    heldByOtherClient, ///< another program holds the key combination
    unavailable,       ///< no X11: global keys cannot be grabbed here
    invalid,           ///< the sequence has no key on this keyboard, or several chords
};

/** Text for diagnostics: "registered", "held by another program", ... */
QString hotKeyStatusText(HotKeyStatus status);

/** @brief System-wide key combinations, each known by an id of the caller's choosing. */
class GlobalHotKeys : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    /** Grabs @p sequence (one chord, e.g. "Meta+Shift+V": Meta is Super) under @p id, replacing
     *  an earlier key of that id. */
    virtual HotKeyStatus registerHotKey(const QString &id, const QKeySequence &sequence) = 0;
    virtual void unregisterHotKey(const QString &id) = 0;
    /** The status of @p id; unavailable for an id never registered. */
    virtual HotKeyStatus status(const QString &id) const = 0;
    virtual bool isAvailable() const = 0;

signals:
    void activated(const QString &id);
    /** A status changed after registering (e.g. a re-grab after a keymap change failed). */
    void statusChanged(const QString &id, corvane::HotKeyStatus status);
};

} // namespace corvane
