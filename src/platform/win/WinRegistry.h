#pragma once

#ifdef _WIN32

#include "platform/IRegistry.h"

namespace addrix {

// The system registry below HKEY_CURRENT_USER, read with the ANSI calls so
// that text arrives in the system's code page.
class WinRegistry final : public IRegistry {
public:
    std::optional<RegistryValue> queryValue(const std::string& subKey,
                                            const std::string& name) const override;
    std::optional<std::string> enumSubKey(const std::string& subKey,
                                          std::int32_t index) const override;
};

} // namespace addrix

#endif
