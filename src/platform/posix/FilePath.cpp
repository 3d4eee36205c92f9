#include "platform/FilePath.h"

#include <system_error>

namespace addrix {

std::filesystem::path ToFsPath(const std::string& path) {
    return std::filesystem::path(path);
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool MoveOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    return !ec;
}

} // namespace addrix
