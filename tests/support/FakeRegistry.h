#pragma once

#include "platform/IRegistry.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace addrix::test {

// A registry held in maps. Key paths and value names are compared exactly as
// given.
class FakeRegistry final : public IRegistry {
public:
    std::map<std::pair<std::string, std::string>, RegistryValue> values;
    std::map<std::string, std::vector<std::string>> subKeys;

    // A string value, stored with its terminating NUL.
    void setString(const std::string& key, const std::string& name, const std::string& text) {
        values[{key, name}] = RegistryValue{RegistryValue::Type::String, text + '\0'};
    }

    std::optional<RegistryValue> queryValue(const std::string& subKey,
                                            const std::string& name) const override {
        const auto found = values.find({subKey, name});
        if (found == values.end())
            return std::nullopt;
        return found->second;
    }
    std::optional<std::string> enumSubKey(const std::string& subKey,
                                          std::int32_t index) const override {
        const auto found = subKeys.find(subKey);
        if (found == subKeys.end() || index < 0 ||
            static_cast<std::size_t>(index) >= found->second.size())
            return std::nullopt;
        return found->second[static_cast<std::size_t>(index)];
    }
};

} // namespace addrix::test
