#pragma once

#include "GlobalHotKeys.h"

#include <QHash>

namespace corvane {

/** @brief Hot keys in memory; press() fires a registered one, holdByOtherClient() makes a grab fail. */
class FakeGlobalHotKeys : public GlobalHotKeys
{
    Q_OBJECT

public:
    using GlobalHotKeys::GlobalHotKeys;

    HotKeyStatus registerHotKey(const QString &id, const QKeySequence &sequence) override;
    void unregisterHotKey(const QString &id) override;
    HotKeyStatus status(const QString &id) const override;
    bool isAvailable() const override { return m_available; }

    void setAvailable(bool available) { m_available = available; }
    /** Registering this sequence will report heldByOtherClient. */
    void holdByOtherClient(const QKeySequence &sequence) { m_held.append(sequence); }
    /** Emits activated(id) when @p id is registered; returns whether it fired. */
    bool press(const QString &id);
    QKeySequence sequence(const QString &id) const { return m_sequences.value(id); }

private:
    bool m_available = true;
    QList<QKeySequence> m_held;
    QHash<QString, QKeySequence> m_sequences;
    QHash<QString, HotKeyStatus> m_status;
};

} // namespace corvane
