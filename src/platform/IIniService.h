#pragma once

#include <cstddef>
#include <string>

namespace addrix {

// Initialisation files: "[Section]" headers and "key=value" lines. Section
// and key names match without regard to case.
class IIniService {
public:
    virtual ~IIniService() = default;
    // The value of `key` in `section` of `file`, cut to `bufferSize` - 1
    // bytes; `defaultValue` (cut likewise) when the file, section or key is
    // missing.
    virtual std::string readString(const std::string& section, const std::string& key,
                                   const std::string& defaultValue, std::size_t bufferSize,
                                   const std::string& file) const = 0;
    // Sets `key` in `section` of `file` to `value`, creating what is missing
    // and keeping every other line as it was. False when the file cannot be
    // written.
    virtual bool writeString(const std::string& section, const std::string& key,
                             const std::string& value, const std::string& file) = 0;
};

} // namespace addrix
