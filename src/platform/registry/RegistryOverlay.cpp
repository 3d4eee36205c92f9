#include "platform/registry/RegistryOverlay.h"

namespace addrix {

RegistryOverlay::RegistryOverlay(std::unique_ptr<const IRegistry> inner)
    : m_inner(std::move(inner)) {}

std::optional<std::string> RegistryOverlay::enumSubKey(const std::string& subKey,
                                                       std::int32_t index) const {
    return m_inner ? m_inner->enumSubKey(subKey, index) : std::nullopt;
}

std::optional<RegistryValue> RegistryOverlay::innerValue(const std::string& subKey,
                                                         const std::string& name) const {
    return m_inner ? m_inner->queryValue(subKey, name) : std::nullopt;
}

} // namespace addrix
