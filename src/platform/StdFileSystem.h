#pragma once

#include "platform/IFileSystem.h"

namespace addrix {

// File tests through the standard library; never throws.
class StdFileSystem final : public IFileSystem {
public:
    bool fileExists(const std::string& path) const override;
    bool pathExists(const std::string& path) const override;
    bool canWrite(const std::string& path) const override;
    bool makeFolder(const std::string& path) const override;
};

} // namespace addrix
