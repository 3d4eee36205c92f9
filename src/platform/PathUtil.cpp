#include "platform/PathUtil.h"

namespace addrix {

std::string WithTrailingSeparator(const std::string& dir) {
    if (!dir.empty() && dir.back() == kPathSeparator)
        return dir;
    return dir + kPathSeparator;
}

std::string FileNamePart(const std::string& path) {
    const auto pos = path.rfind(kPathSeparator);
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string FolderPart(const std::string& path) {
    const auto pos = path.rfind(kPathSeparator);
    return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

} // namespace addrix
