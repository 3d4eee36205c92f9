#pragma once

#include <cstdint>
#include <string>

namespace addrix {

class IRegistry;

// What the registry procedures give in place of a value the registry lacks.
inline constexpr const char* kNotFound = "Not Found";

// The value `valueName` of key `subKey` below the current user's root, as
// text: DWORDs in decimal (at least three digits), binary data in hex, strings
// without their NUL. "Not Found" when the registry gives no value, or one
// longer than the 2048-byte buffer.
std::string ReadRegistryValue(const IRegistry& registry, const std::string& subKey,
                              const std::string& valueName);

// The name of the sub-key of `subKey` at `index`, or "Not Found" (also for a
// name that does not fit the 2048-byte buffer).
std::string EnumRegistrySubKey(const IRegistry& registry, const std::string& subKey,
                               std::int32_t index);

// The full path of the proposed Ivro backup file: the backup tool's settings
// when it is installed, else "addressBook.adr" in the user's documents folder.
std::string GetIvroBackupFile(const IRegistry& registry);

} // namespace addrix
