#pragma once

#include "platform/IShell.h"

namespace addrix {

// Documents open with the desktop's own opener; programs start detached,
// without arguments and without a shell in between.
class QtShell final : public IShell {
public:
    bool openDocument(const std::string& path) override;
    // Only an existing, executable, ordinary file starts. Elsewhere than on
    // Windows a ".exe" program runs through wine when wine is installed.
    bool startProgram(const std::string& path, std::string& error) override;
};

} // namespace addrix
