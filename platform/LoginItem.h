#pragma once

#include <QString>

#include <optional>

namespace corvane {

/** @brief Whether Corvane starts when the user logs in. */
class LoginItem
{
public:
    virtual ~LoginItem() = default;

    /** The real current state, read afresh on every call. */
    virtual bool isEnabled() const = 0;
    /** Registers or unregisters; the failure's description, or nothing on success. */
    [[nodiscard]] virtual std::optional<QString> setEnabled(bool enabled) = 0;
};

} // namespace corvane
