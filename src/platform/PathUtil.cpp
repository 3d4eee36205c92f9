#include "platform/PathUtil.h"

#include <algorithm>

namespace addrix {

namespace {

// The position of the last separator in `path`, npos when it has none.
std::size_t LastSeparator(const std::string& path) {
    const auto found = std::find_if(path.rbegin(), path.rend(), IsPathSeparator);
    return found == path.rend() ? std::string::npos
                                : static_cast<std::size_t>(path.rend() - found - 1);
}

} // namespace

std::string WithTrailingSeparator(const std::string& dir) {
    if (!dir.empty() && IsPathSeparator(dir.back()))
        return dir;
    return dir + kPathSeparator;
}

std::string FileNamePart(const std::string& path) {
    const auto pos = LastSeparator(path);
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string FolderPart(const std::string& path) {
    const auto pos = LastSeparator(path);
    return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

} // namespace addrix
