#pragma once

#include "platform/Environment.h"
#include "platform/registry/RegistryOverlay.h"

#include <memory>
#include <string>

namespace addrix {

// A registry that answers the user's documents folder ("Personal" under
// "Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders") from a
// given folder whenever the registry below it has no such value. Everything
// else is the inner registry's answer.
class DocumentsFolderFallback final : public RegistryOverlay {
public:
    // An empty `documentsFolder` adds nothing.
    DocumentsFolderFallback(std::unique_ptr<const IRegistry> inner, std::string documentsFolder);

    std::optional<RegistryValue> queryValue(const std::string& subKey,
                                            const std::string& name) const override;

private:
    std::string m_documentsFolder;
};

// The desktop's documents folder: $XDG_DOCUMENTS_DIR, else the XDG_DOCUMENTS_DIR
// line of user-dirs.dirs in $XDG_CONFIG_HOME (or $HOME/.config) with $HOME
// expanded, else Documents in $HOME; "" when $HOME is not set either.
std::string DefaultDocumentsFolder(const EnvLookup& env);

} // namespace addrix
