#pragma once

#include "platform/IRegistry.h"

#include <memory>
#include <string>

namespace addrix {

// A registry read from a Windows compatibility prefix, whose string values
// that name a drive path ("C:\users\ann\Documents") are turned into the same
// place on this system through the prefix's drive links ("dosdevices/c:").
// A path on a drive without a link, and every other value, is the inner
// registry's answer.
class WineDrivePaths final : public IRegistry {
public:
    WineDrivePaths(std::unique_ptr<const IRegistry> inner, std::string dosDevicesDir);

    std::optional<RegistryValue> queryValue(const std::string& subKey,
                                            const std::string& name) const override;
    std::optional<std::string> enumSubKey(const std::string& subKey,
                                          std::int32_t index) const override;

private:
    std::unique_ptr<const IRegistry> m_inner;
    std::string m_dosDevicesDir;
};

} // namespace addrix
