#include "sources/ivro/IvroBackupLocation.h"

#include "platform/IRegistry.h"
#include "platform/PathUtil.h"
#include "platform/Text.h"

#include <exception>

namespace addrix {

namespace {

// Room for a value and for a sub-key name, terminating NUL included.
constexpr std::size_t kBufferSize = 2048;
// Sub-keys 0 to 100 of the backup tool's key are looked at.
constexpr std::int32_t kLastSubKeyIndex = 100;

constexpr const char* kIvroBackupKey = "Software\\Quorvane\\Ivro Backup\\";
constexpr const char* kDefaultBackupFile = "addressBook.adr";

std::string DwordText(const std::string& data) {
    std::uint32_t number = 0;
    for (std::size_t i = 0; i < 4 && i < data.size(); ++i)
        number |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
    std::string text = std::to_string(number);
    if (text.size() < 3)
        text.insert(0, 3 - text.size(), '0');
    return text;
}

std::string HexText(const std::string& data) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(data.size() * 2);
    for (const char c : data) {
        const auto byte = static_cast<unsigned char>(c);
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

std::string ValueText(const RegistryValue& value) {
    const std::string& data = value.data;
    switch (value.type) {
    case RegistryValue::Type::DWord:
        return DwordText(data);
    case RegistryValue::Type::Binary:
        return HexText(data);
    default:
        // The reported length counts the terminating NUL.
        return data.empty() ? std::string() : data.substr(0, data.size() - 1);
    }
}

bool EndsInSeparator(const std::string& folder) {
    return !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
}

} // namespace

std::string ReadRegistryValue(const IRegistry& registry, const std::string& subKey,
                              const std::string& valueName) {
    try {
        const std::optional<RegistryValue> value = registry.queryValue(subKey, valueName);
        // A value too long for the buffer is a failed query, not a shorter value.
        if (value && value->data.size() <= kBufferSize)
            return ValueText(*value);
    } catch (const std::exception&) {
        // A registry that fails answers like one without the value.
    }
    return kNotFound;
}

std::string EnumRegistrySubKey(const IRegistry& registry, const std::string& subKey,
                               std::int32_t index) {
    try {
        const std::optional<std::string> name = registry.enumSubKey(subKey, index);
        // The buffer must hold the name and its terminating NUL.
        if (name && name->size() < kBufferSize)
            return name->substr(0, name->find('\0'));
    } catch (const std::exception&) {
        // As for a missing sub-key.
    }
    return kNotFound;
}

std::string GetIvroBackupFile(const IRegistry& registry) {
    std::string folder = ReadRegistryValue(registry, kShellFoldersKey, "Personal");
    std::string fileName = kDefaultBackupFile;
    for (std::int32_t index = 0; index <= kLastSubKeyIndex; ++index) {
        const std::string name = EnumRegistrySubKey(registry, kIvroBackupKey, index);
        if (name == kNotFound)
            break;
        if (AsciiLower(name.substr(0, 7)) == "version") {
            const std::string key = std::string(kIvroBackupKey) + name;
            folder = ReadRegistryValue(registry, key, "addressBookPath");
            fileName = ReadRegistryValue(registry, key, "addressBookFile");
            break;
        }
    }
    // A folder read from a registry of the other system may end in either separator.
    if (EndsInSeparator(folder))
        folder.pop_back();
    return folder + kPathSeparator + fileName;
}

} // namespace addrix
