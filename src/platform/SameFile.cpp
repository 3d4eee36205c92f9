#include "platform/FilePath.h"

#include <filesystem>
#include <system_error>

namespace addrix {

bool NamesSameFile(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    if (a.empty() || b.empty())
        return false;
    const fs::path first = ToFsPath(a);
    const fs::path second = ToFsPath(b);
    std::error_code ec;
    // Existing files are one when the system says so: hard links included.
    if (fs::equivalent(first, second, ec))
        return true;
    // A name not yet taken is one with another only by where it leads.
    const fs::path firstPlace = fs::weakly_canonical(fs::absolute(first, ec), ec);
    if (ec)
        return false;
    const fs::path secondPlace = fs::weakly_canonical(fs::absolute(second, ec), ec);
    return !ec && firstPlace == secondPlace;
}

} // namespace addrix
