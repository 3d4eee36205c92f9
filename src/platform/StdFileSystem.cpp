#include "platform/StdFileSystem.h"

#include "platform/FilePath.h"

#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fstream>
#include <process.h>
#else
#include <unistd.h>
#endif

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

bool StdFileSystem::makeFolder(const std::string& path) const {
    if (path.empty())
        return false;
    std::error_code ec;
    std::filesystem::create_directories(ToFsPath(path), ec);
    return std::filesystem::is_directory(ToFsPath(path), ec);
}

bool StdFileSystem::canWrite(const std::string& path) const {
    if (path.empty())
        return false;
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path place = ToFsPath(path);
    const fs::file_status status = fs::status(place, ec);
    if (ec || !fs::exists(status))
        return false;
    const bool folder = fs::is_directory(status);
    // A file marked read-only is kept as it is, whoever runs the program.
    if (!folder && (status.permissions() & fs::perms::owner_write) == fs::perms::none)
        return false;
#ifdef _WIN32
    // Access rights are not in the attributes: try it.
    if (!folder)
        return std::ofstream(place, std::ios::binary | std::ios::app).is_open();
    fs::path probe = place / ("addrix-write-test-" + std::to_string(_getpid()) + ".tmp");
    const bool made = std::ofstream(probe, std::ios::binary).is_open();
    fs::remove(probe, ec);
    return made;
#else
    return ::access(place.c_str(), folder ? W_OK | X_OK : W_OK) == 0;
#endif
}

} // namespace addrix
