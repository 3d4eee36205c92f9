#include "platform/registry/UserRegistry.h"

#ifdef _WIN32
#include "platform/win/WinRegistry.h"
#else
#include "platform/PathUtil.h"
#include "platform/registry/DocumentsFolderFallback.h"
#include "platform/registry/RegistryFile.h"
#include "platform/registry/WineDrivePaths.h"
#endif

namespace addrix {

std::unique_ptr<IRegistry> OpenUserRegistry([[maybe_unused]] const EnvLookup& env) {
#ifdef _WIN32
    return std::make_unique<WinRegistry>();
#else
    const std::string file = DefaultRegistryFilePath(env);
    std::unique_ptr<const IRegistry> registry = std::make_unique<RegistryFile>(file);
    // Drive paths in the file mean places inside the prefix that holds it.
    if (!file.empty())
        registry =
            std::make_unique<WineDrivePaths>(std::move(registry), FolderPart(file) + "dosdevices");
    return std::make_unique<DocumentsFolderFallback>(std::move(registry),
                                                     DefaultDocumentsFolder(env));
#endif
}

} // namespace addrix
