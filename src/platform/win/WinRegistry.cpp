#ifdef _WIN32

#include "platform/win/WinRegistry.h"

#include "platform/win/WindowsApi.h"

#include <algorithm>
#include <vector>

namespace addrix {

namespace {

// An open key below HKEY_CURRENT_USER, closed with the object.
class OpenKey {
public:
    explicit OpenKey(const std::string& subKey) {
        if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &m_key) != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~OpenKey() {
        if (m_key)
            RegCloseKey(m_key);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

RegistryValue::Type TypeOf(DWORD type) {
    switch (type) {
    case REG_SZ:
        return RegistryValue::Type::String;
    case REG_EXPAND_SZ:
        return RegistryValue::Type::ExpandString;
    case REG_MULTI_SZ:
        return RegistryValue::Type::MultiString;
    case REG_DWORD:
        return RegistryValue::Type::DWord;
    case REG_BINARY:
        return RegistryValue::Type::Binary;
    default:
        return RegistryValue::Type::Other;
    }
}

} // namespace

std::optional<RegistryValue> WinRegistry::queryValue(const std::string& subKey,
                                                     const std::string& name) const {
    const OpenKey key(subKey);
    if (!key.get())
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size);
    std::vector<BYTE> data;
    // The value may grow between the two calls; ask again until it fits.
    for (int attempt = 0; status == ERROR_SUCCESS || status == ERROR_MORE_DATA; ++attempt) {
        if (attempt == 8)
            return std::nullopt;
        data.resize(size);
        status = RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                                  data.empty() ? nullptr : data.data(), &size);
        if (status == ERROR_SUCCESS) {
            RegistryValue value;
            value.type = TypeOf(type);
            value.data.assign(reinterpret_cast<const char*>(data.data()),
                              std::min<std::size_t>(size, data.size()));
            return value;
        }
    }
    return std::nullopt;
}

std::optional<std::string> WinRegistry::enumSubKey(const std::string& subKey,
                                                   std::int32_t index) const {
    if (index < 0)
        return std::nullopt;
    const OpenKey key(subKey);
    if (!key.get())
        return std::nullopt;
    char name[2048];
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key.get(), static_cast<DWORD>(index), name, &length, nullptr, nullptr,
                      nullptr, nullptr) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(name, length);
}

} // namespace addrix

#endif
