#include "platform/StdFileSystem.h"

#include "platform/FilePath.h"

#include <filesystem>
#include <system_error>

namespace addrix {

bool StdFileSystem::fileExists(const std::string& path) const {
    if (path.empty())
        return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(ToFsPath(path), ec);
}

bool StdFileSystem::pathExists(const std::string& path) const {
    if (path.empty())
        return false;
    std::error_code ec;
    return std::filesystem::exists(ToFsPath(path), ec);
}

} // namespace addrix
