#include "ivro/IvroBackupLocation.h"

#include "platform/PathUtil.h"
#include "support/FakeRegistry.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace addrix {
namespace {

using test::FakeRegistry;
using Type = RegistryValue::Type;

const std::string kBackupKey = "Software\\Quorvane\\Ivro Backup\\";
const std::string kSep(1, kPathSeparator);

TEST(ReadRegistryValueTest, TurnsTheDataIntoTextByType) {
    const std::pair<RegistryValue, std::string> cases[] = {
        {{Type::DWord, std::string("\x07\0\0\0", 4)}, "007"},
        {{Type::DWord, "\xD2\x04\0\0"}, "1234"},
        {{Type::DWord, "\xFF\xFF\xFF\xFF"}, "4294967295"},
        {{Type::DWord, "\x2A"}, "042"}, // less data than a DWORD
        {{Type::Binary, std::string("\x0A\x1F\0\xFF", 4)}, "0A1F00FF"},
        {{Type::ExpandString, "abc"}, "ab"}, // the reported length counts the NUL
        {{Type::String, std::string(2047, 's') + '\0'}, std::string(2047, 's')},
        {{Type::String, std::string(2048, 's') + '\0'}, "Not Found"}, // beyond the buffer
        {{Type::Binary, std::string(2049, '\1')}, "Not Found"}};
    for (const auto& [value, expected] : cases) {
        FakeRegistry registry;
        registry.values[{"Key", "Value"}] = value;
        EXPECT_EQ(ReadRegistryValue(registry, "Key", "Value"), expected) << value.data.size();
    }
}

class BrokenRegistry final : public IRegistry {
public:
    std::optional<RegistryValue> queryValue(const std::string&, const std::string&) const override {
        throw std::runtime_error("registry unavailable");
    }
    std::optional<std::string> enumSubKey(const std::string&, std::int32_t) const override {
        throw std::runtime_error("registry unavailable");
    }
};

TEST(RegistryAccessTest, MissingFailingOrOversizedGivesNotFound) {
    EXPECT_EQ(GetIvroBackupFile(BrokenRegistry()), "Not Found" + kSep + "addressBook.adr");
    FakeRegistry registry;
    registry.subKeys["Key"] = {std::string("two\0junk", 8), std::string(2048, 'n')};
    EXPECT_EQ(EnumRegistrySubKey(registry, "Key", 0), "two");
    EXPECT_EQ(EnumRegistrySubKey(registry, "Key", 1), "Not Found");
    EXPECT_EQ(EnumRegistrySubKey(registry, "Key", 2), "Not Found");
}

std::vector<std::string> Numbered(int count, const std::string& last) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back("Key" + std::to_string(i));
    names.push_back(last);
    return names;
}

TEST(GetIvroBackupFileTest, ProposesTheBackupFile) {
    const std::string docs = "C:\\Docs" + kSep + "addressBook.adr";
    // Documents folder (nullptr: none), sub-keys of the backup tool, result.
    using Case = std::tuple<const char*, std::vector<std::string>, std::string>;
    const Case cases[] = {
        {"D:\\\\", {}, "D:\\" + kSep + "addressBook.adr"}, // one separator dropped
        {"/home/a/", {}, "/home/a" + kSep + "addressBook.adr"},
        {nullptr, {}, "Not Found" + kSep + "addressBook.adr"},
        {"C:\\Docs", {"Settings", "Version 2.0", "version3"}, "P:\\Version 2.0" + kSep + "V.adr"},
        {"C:\\Docs", {"Vers", "Versio"}, docs},
        {"C:\\Docs", {"VERSION no file"}, "P:\\VERSION no file" + kSep + "Not Found"},
        {"C:\\Docs", Numbered(100, "Version 9"), "P:\\Version 9" + kSep + "V.adr"},
        {"C:\\Docs", Numbered(101, "Version 9"), docs}}; // only positions 0 to 100 count
    for (const auto& [documents, subKeys, expected] : cases) {
        FakeRegistry registry;
        if (documents)
            registry.setString("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell "
                               "Folders",
                               "Personal", documents);
        registry.subKeys[kBackupKey] = subKeys;
        for (const std::string& name : subKeys) {
            registry.setString(kBackupKey + name, "addressBookPath", "P:\\" + name + "\\");
            if (name.find("no file") == std::string::npos)
                registry.setString(kBackupKey + name, "addressBookFile", "V.adr");
        }
        EXPECT_EQ(GetIvroBackupFile(registry), expected);
    }
}

} // namespace
} // namespace addrix
