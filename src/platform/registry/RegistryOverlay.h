#pragma once

#include "platform/IRegistry.h"

#include <memory>
#include <string>

namespace addrix {

// A registry laid over another one that may change some of its values. Its
// sub-keys, and every value it leaves alone, are the inner registry's; with no
// inner registry it answers nothing.
class RegistryOverlay : public IRegistry {
public:
    std::optional<std::string> enumSubKey(const std::string& subKey,
                                          std::int32_t index) const final;

protected:
    explicit RegistryOverlay(std::unique_ptr<const IRegistry> inner);

    // The inner registry's answer, as the overlay found it.
    std::optional<RegistryValue> innerValue(const std::string& subKey,
                                            const std::string& name) const;

private:
    std::unique_ptr<const IRegistry> m_inner;
};

} // namespace addrix
