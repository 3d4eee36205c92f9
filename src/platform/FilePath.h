#pragma once

#include <filesystem>
#include <string>

namespace addrix {

// Paths travel through the program as bytes in the system's own encoding;
// this is the one place that turns them into the library's path type.
inline std::filesystem::path ToFsPath(const std::string& path) {
    // Narrow text is read in the system's code page on every platform.
    return std::filesystem::path(path);
}

} // namespace addrix
