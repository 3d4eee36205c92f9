#pragma once

#include "platform/Environment.h"
#include "platform/IRegistry.h"

#include <map>
#include <string>
#include <vector>

namespace addrix {

// The current user's registry read from a text file, for systems that keep no
// registry of their own. Two formats are read:
//  - the registry editor's export ("REGEDIT4", or "Windows Registry Editor
//    Version 5.00" in UTF-16LE with a byte-order mark or in 8-bit text);
//    only keys under [HKEY_CURRENT_USER\...] count;
//  - the user registry of a Windows compatibility layer ("WINE REGISTRY
//    Version 2", user.reg), whose key paths are relative to the current user.
// Text beyond 8 bits becomes Latin-1 where it fits and "?" where it does not.
// Key paths and value names match without regard to case; sub-keys are
// enumerated in name order, case ignored. A missing, unreadable or unknown
// file gives an empty registry: every query answers nothing.
//
// The file rarely names the user's documents folder; wrap the registry in a
// DocumentsFolderFallback (platform/registry/DocumentsFolderFallback.h) to
// answer that value from the desktop's own settings.
class RegistryFile final : public IRegistry {
public:
    RegistryFile() = default;
    // Reads the registry file at `path`.
    explicit RegistryFile(const std::string& path);
    // A registry from the bytes of a registry file.
    static RegistryFile FromBytes(const std::string& bytes);

    std::optional<RegistryValue> queryValue(const std::string& subKey,
                                            const std::string& name) const override;
    std::optional<std::string> enumSubKey(const std::string& subKey,
                                          std::int32_t index) const override;

private:
    struct Key {
        std::map<std::string, RegistryValue> values; // by upper-case name
        std::map<std::string, std::string> subKeys;  // upper-case name -> name
    };
    void parse(const std::string& bytes);
    // The key at `names` below the root, made with its ancestors when missing.
    Key& addKey(const std::vector<std::string>& names);
    const Key* findKey(const std::string& path) const;

    std::map<std::string, Key> m_keys; // by upper-case path, "" for the root
};

// Where the registry file is found: $ADDRIX_REGISTRY, else user.reg in
// $WINEPREFIX, else user.reg in $HOME/.wine; "" when none of these is set.
std::string DefaultRegistryFilePath(const EnvLookup& env);

} // namespace addrix
