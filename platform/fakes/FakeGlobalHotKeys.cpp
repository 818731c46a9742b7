#include "FakeGlobalHotKeys.h"

namespace corvane {

HotKeyStatus FakeGlobalHotKeys::registerHotKey(const QString &id, const QKeySequence &sequence)
{
    HotKeyStatus status = HotKeyStatus::registered;
    if (!m_available)
        status = HotKeyStatus::unavailable;
    else if (sequence.count() != 1)
        status = HotKeyStatus::invalid;
    else if (m_held.contains(sequence))
        status = HotKeyStatus::heldByOtherClient;
    m_sequences.insert(id, sequence);
    m_status.insert(id, status);
    return status;
}

void FakeGlobalHotKeys::unregisterHotKey(const QString &id)
{
    m_sequences.remove(id);
    m_status.remove(id);
}

HotKeyStatus FakeGlobalHotKeys::status(const QString &id) const { return m_status.value(id, HotKeyStatus::unavailable); }

bool FakeGlobalHotKeys::press(const QString &id)
{
    if (status(id) != HotKeyStatus::registered)
        return false;
    emit activated(id);
    return true;
}

} // namespace corvane
