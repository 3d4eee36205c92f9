#pragma once

#include "platform/registry/RegistryOverlay.h"

#include <memory>
#include <string>

namespace addrix {

// A registry read from a Windows compatibility prefix, whose string values
// that name a drive path ("C:\users\ann\Documents") are turned into the same
// place on this system through the prefix's drive links ("dosdevices/c:").
// A path on a drive without a link, and every other value, is the inner
// registry's answer.
class WineDrivePaths final : public RegistryOverlay {
public:
    WineDrivePaths(std::unique_ptr<const IRegistry> inner, std::string dosDevicesDir);

    std::optional<RegistryValue> queryValue(const std::string& subKey,
                                            const std::string& name) const override;

private:
    std::string m_dosDevicesDir;
};

} // namespace addrix
