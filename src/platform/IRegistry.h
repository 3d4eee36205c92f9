#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace addrix {

// The key that holds the user's folders, among them "Personal", the documents.
inline constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A value as the registry stores it.
struct RegistryValue {
    enum class Type { String, ExpandString, MultiString, DWord, Binary, Other };
    Type type = Type::String;
    // The data bytes; for the string types including the terminating NUL.
    std::string data;
};

// The current user's registry (on systems without one, a registry file).
// Key paths are below HKEY_CURRENT_USER and use "\" between names.
class IRegistry {
public:
    virtual ~IRegistry() = default;
    // The value `name` of key `subKey`; nothing when the key or value is missing.
    virtual std::optional<RegistryValue> queryValue(const std::string& subKey,
                                                    const std::string& name) const = 0;
    // The name of the sub-key of `subKey` at position `index` (0-based);
    // nothing when there is none there or the key is missing.
    virtual std::optional<std::string> enumSubKey(const std::string& subKey,
                                                  std::int32_t index) const = 0;
};

} // namespace addrix
