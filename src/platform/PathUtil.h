#pragma once

#include <string>

namespace addrix {

// The one place that knows the folder separator of the host system.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// Windows takes a forward slash between folders as well.
constexpr bool IsPathSeparator(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

// `dir` with one separator appended unless it already ends in one. An empty
// text gets the separator alone, as a bare separator names the root.
std::string WithTrailingSeparator(const std::string& dir);

// The part of `path` after its last separator (the whole text when it has none).
std::string FileNamePart(const std::string& path);

// The part of `path` up to and including its last separator (empty when none).
std::string FolderPart(const std::string& path);

} // namespace addrix
