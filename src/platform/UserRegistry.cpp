#include "platform/UserRegistry.h"

#ifdef _WIN32
#include "platform/WinRegistry.h"
#else
#include "platform/DocumentsFolderFallback.h"
#include "platform/RegistryFile.h"
#endif

namespace addrix {

std::unique_ptr<IRegistry> OpenUserRegistry([[maybe_unused]] const EnvLookup& env) {
#ifdef _WIN32
    return std::make_unique<WinRegistry>();
#else
    return std::make_unique<DocumentsFolderFallback>(
        std::make_unique<RegistryFile>(DefaultRegistryFilePath(env)), DefaultDocumentsFolder(env));
#endif
}

} // namespace addrix
