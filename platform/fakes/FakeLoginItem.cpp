#include "FakeLoginItem.h"

namespace corvane {

std::optional<QString> FakeLoginItem::setEnabled(bool enabled)
{
    ++m_setCount;
    if (auto failure = std::exchange(m_failure, std::nullopt))
        return failure;
    m_enabled = enabled;
    return std::nullopt;
}

} // namespace corvane
