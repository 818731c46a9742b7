#pragma once

#include "LoginItem.h"

namespace corvane {

/** @brief A login item in memory; failNextWith() makes the next setEnabled fail. */
class FakeLoginItem : public LoginItem
{
public:
    bool isEnabled() const override { return m_enabled; }
    std::optional<QString> setEnabled(bool enabled) override;

    /** The next setEnabled leaves the state alone and returns this description. */
    void failNextWith(const QString &error) { m_failure = error; }
    void setState(bool enabled) { m_enabled = enabled; }
    int setCount() const { return m_setCount; }

private:
    bool m_enabled = false;
    std::optional<QString> m_failure;
    int m_setCount = 0;
};

} // namespace corvane
