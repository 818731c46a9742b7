#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace corvane {

/**
 * @brief An optional string in the room of one pointer, for the fields most clips leave empty
 * (a std::optional<QString> takes 32 bytes even when it holds nothing).
 */
class OptionalString
{
public:
    OptionalString() = default;
    OptionalString(std::nullopt_t) { }
    OptionalString(const QString &value)
        : m_value(std::make_unique<QString>(value))
    {
    }
    OptionalString(QString &&value)
        : m_value(std::make_unique<QString>(std::move(value)))
    {
    }
    OptionalString(const std::optional<QString> &value)
        : m_value(value ? std::make_unique<QString>(*value) : nullptr)
    {
    }
    OptionalString(const OptionalString &other)
        : OptionalString(other.toOptional())
    {
    }
    OptionalString(OptionalString &&) noexcept = default;
    OptionalString &operator=(OptionalString other) noexcept
    {
        m_value = std::move(other.m_value);
        return *this;
    }

    bool has_value() const { return m_value != nullptr; }
    explicit operator bool() const { return has_value(); }
    const QString &operator*() const { return *m_value; }
    const QString *operator->() const { return m_value.get(); }
    QString value_or(const QString &fallback) const { return m_value ? *m_value : fallback; }
    void reset() { m_value.reset(); }
    std::optional<QString> toOptional() const { return m_value ? std::optional<QString>(*m_value) : std::nullopt; }

    friend bool operator==(const OptionalString &a, const OptionalString &b)
    {
        return a.has_value() == b.has_value() && (!a || *a == *b);
    }
    friend bool operator==(const OptionalString &a, const QString &b) { return a && *a == b; }
    friend bool operator==(const OptionalString &a, std::nullopt_t) { return !a; }

private:
    std::unique_ptr<QString> m_value;
};

} // namespace corvane
