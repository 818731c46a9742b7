#pragma once

#include "GlobalHotKeys.h"

#include <QAbstractNativeEventFilter>

#include <memory>

namespace corvane {

/**
 * @brief Global keys grabbed on the X11 root window through Qt's xcb connection, with the
 * NumLock and CapsLock variants, grabbed again when the keymap changes. A key another client
 * holds is reported in its status and logged ("Corvane: ...").
 */
class X11GlobalHotKeys : public GlobalHotKeys, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit X11GlobalHotKeys(QObject *parent = nullptr);
    ~X11GlobalHotKeys() override;

    HotKeyStatus registerHotKey(const QString &id, const QKeySequence &sequence) override;
    void unregisterHotKey(const QString &id) override;
    HotKeyStatus status(const QString &id) const override;
    bool isAvailable() const override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace corvane
