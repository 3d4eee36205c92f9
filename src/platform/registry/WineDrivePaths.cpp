#include "platform/registry/WineDrivePaths.h"

#include "platform/FilePath.h"
#include "platform/PathUtil.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace addrix {

WineDrivePaths::WineDrivePaths(std::unique_ptr<const IRegistry> inner, std::string dosDevicesDir)
    : RegistryOverlay(std::move(inner)), m_dosDevicesDir(std::move(dosDevicesDir)) {}

std::optional<RegistryValue> WineDrivePaths::queryValue(const std::string& subKey,
                                                        const std::string& name) const {
    auto value = innerValue(subKey, name);
    if (!value || (value->type != RegistryValue::Type::String &&
                   value->type != RegistryValue::Type::ExpandString))
        return value;

    std::string& data = value->data;
    const bool terminated = !data.empty() && data.back() == '\0';
    const std::string text = terminated ? data.substr(0, data.size() - 1) : data;
    const bool drivePath = text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) &&
                           text[1] == ':' && (text.size() == 2 || text[2] == '\\');
    if (!drivePath)
        return value;

    const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    const std::string link = WithTrailingSeparator(m_dosDevicesDir) + drive + ':';
    std::error_code ec;
    if (!std::filesystem::exists(ToFsPath(link), ec))
        return value;

    std::string path = link + text.substr(2);
    for (std::size_t i = link.size(); i < path.size(); ++i)
        if (path[i] == '\\')
            path[i] = kPathSeparator;
    data = terminated ? path + '\0' : path;
    return value;
}

} // namespace addrix
