#include "ivro/IvroBackupLocation.h"

#include "platform/PathUtil.h"
#include "support/FakeRegistry.h"

#include <gtest/gtest.h>

#include <ostream>

#include <stdexcept>

namespace addrix {
namespace {

using test::FakeRegistry;
using Type = RegistryValue::Type;

const std::string kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kBackupKey = "Software\\Quorvane\\Ivro Backup\\";
const std::string kSep(1, kPathSeparator);

struct ValueCase {
    const char* name;
    Type type;
    std::string data;
    std::string expected;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadRegistryValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ReadRegistryValueTest, TurnsTheDataIntoText) {
    const ValueCase& c = GetParam();
    FakeRegistry registry;
    registry.set("Key", "Value", c.type, c.data);
    EXPECT_EQ(ReadRegistryValue(registry, "Key", "Value"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Types, ReadRegistryValueTest,
    ::testing::Values(
        ValueCase{"DwordPadded", Type::DWord, std::string("\x07\0\0\0", 4), "007"},
        ValueCase{"DwordZero", Type::DWord, std::string(4, '\0'), "000"},
        ValueCase{"DwordFourDigits", Type::DWord, std::string("\xD2\x04\0\0", 4), "1234"},
        ValueCase{"DwordUnsigned", Type::DWord, "\xFF\xFF\xFF\xFF", "4294967295"},
        ValueCase{"DwordShortData", Type::DWord, "\x2A", "042"},
        ValueCase{"BinaryUpperHex", Type::Binary, "\x0A\x1F", "0A1F"},
        ValueCase{"BinaryAllBytes", Type::Binary, std::string("\0\x80\xFF", 3), "0080FF"},
        ValueCase{"BinaryEmpty", Type::Binary, "", ""},
        ValueCase{"BinaryFillsTheBuffer", Type::Binary, std::string(2048, '\xAB'),
                  [] {
                      std::string hex;
                      for (int i = 0; i < 2048; ++i)
                          hex += "AB";
                      return hex;
                  }()},
        ValueCase{"BinaryBeyondTheBuffer", Type::Binary, std::string(2049, '\xAB'), "Not Found"},
        ValueCase{"StringWithoutNul", Type::String, std::string("C:\\Docs\0", 8), "C:\\Docs"},
        ValueCase{"ExpandString", Type::ExpandString, std::string("%HOME%\0", 7), "%HOME%"},
        ValueCase{"StringLengthMinusOne", Type::String, "abc", "ab"},
        ValueCase{"EmptyString", Type::String, std::string(1, '\0'), ""},
        ValueCase{"NoData", Type::String, "", ""},
        ValueCase{"OtherTypeAsText", Type::Other, std::string("xyz\0", 4), "xyz"},
        ValueCase{"StringFillsTheBuffer", Type::String, std::string(2047, 's') + '\0',
                  std::string(2047, 's')},
        ValueCase{"StringBeyondTheBuffer", Type::String, std::string(2048, 's') + '\0',
                  "Not Found"}),
    [](const auto& info) { return std::string(info.param.name); });

// A registry whose every call fails.
class BrokenRegistry final : public IRegistry {
public:
    std::optional<RegistryValue> queryValue(const std::string&, const std::string&) const override {
        throw std::runtime_error("registry unavailable");
    }
    std::optional<std::string> enumSubKey(const std::string&, std::int32_t) const override {
        throw std::runtime_error("registry unavailable");
    }
};

TEST(RegistryAccessTest, MissingOrFailingGivesNotFound) {
    FakeRegistry empty;
    BrokenRegistry broken;
    EXPECT_EQ(ReadRegistryValue(empty, "Key", "Value"), "Not Found");
    EXPECT_EQ(EnumRegistrySubKey(empty, "Key", 0), "Not Found");
    EXPECT_EQ(ReadRegistryValue(broken, "Key", "Value"), "Not Found");
    EXPECT_EQ(EnumRegistrySubKey(broken, "Key", 0), "Not Found");
    EXPECT_EQ(GetIvroBackupFile(broken), "Not Found" + kSep + "addressBook.adr");
}

TEST(RegistryAccessTest, SubKeyNameEndsAtItsFirstNul) {
    FakeRegistry registry;
    registry.subKeys["Key"] = {"first", std::string("two\0junk", 8), std::string(2048, 'n')};
    EXPECT_EQ(EnumRegistrySubKey(registry, "Key", 0), "first");
    EXPECT_EQ(EnumRegistrySubKey(registry, "Key", 1), "two");
    EXPECT_EQ(EnumRegistrySubKey(registry, "Key", 2), "Not Found"); // longer than the buffer
    EXPECT_EQ(EnumRegistrySubKey(registry, "Key", 3), "Not Found");
    EXPECT_EQ(EnumRegistrySubKey(registry, "Key", -1), "Not Found");
}

struct LocationCase {
    const char* name;
    const char* documents; // nullptr: no "Personal" value
    std::vector<std::string> subKeys;
    std::string expected;
};

void PrintTo(const LocationCase& c, std::ostream* os) {
    *os << c.name;
}

class GetIvroBackupFileTest : public ::testing::TestWithParam<LocationCase> {};

TEST_P(GetIvroBackupFileTest, ProposesTheBackupFile) {
    const LocationCase& c = GetParam();
    FakeRegistry registry;
    if (c.documents)
        registry.setString(kShellFolders, "Personal", c.documents);
    registry.subKeys[kBackupKey] = c.subKeys;
    for (const std::string& name : c.subKeys) {
        if (name.find("no file") != std::string::npos)
            continue;
        registry.setString(kBackupKey + name, "addressBookPath", "P:\\" + name + "\\");
        registry.setString(kBackupKey + name, "addressBookFile", name + ".adr");
    }
    // A matching key that names only its folder.
    registry.setString(kBackupKey + "Version no file", "addressBookPath", "P:\\only");
    EXPECT_EQ(GetIvroBackupFile(registry), c.expected);
}

std::vector<std::string> Numbered(int count, const std::string& last) {
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back("Key" + std::to_string(i));
    names.push_back(last);
    return names;
}

INSTANTIATE_TEST_SUITE_P(
    Places, GetIvroBackupFileTest,
    ::testing::Values(
        LocationCase{"DocumentsFolder",
                     "C:\\Users\\A\\Documents",
                     {},
                     "C:\\Users\\A\\Documents" + kSep + "addressBook.adr"},
        LocationCase{"DriveRoot", "D:\\", {}, "D:" + kSep + "addressBook.adr"},
        LocationCase{"HostFolderWithSeparator",
                     "/home/a/Documents/",
                     {},
                     "/home/a/Documents" + kSep + "addressBook.adr"},
        LocationCase{"OnlyOneSeparatorDropped", "D:\\\\", {}, "D:\\" + kSep + "addressBook.adr"},
        LocationCase{"NothingAtAll", nullptr, {}, "Not Found" + kSep + "addressBook.adr"},
        LocationCase{"FirstVersionKeyWins",
                     "C:\\Docs",
                     {"Settings", "Version 2.0", "version3"},
                     "P:\\Version 2.0" + kSep + "Version 2.0.adr"},
        LocationCase{
            "AnyCaseOfVersion", "C:\\Docs", {"VERSION"}, "P:\\VERSION" + kSep + "VERSION.adr"},
        LocationCase{"ShortNameNeverMatches",
                     "C:\\Docs",
                     {"Vers", "Versio"},
                     "C:\\Docs" + kSep + "addressBook.adr"},
        LocationCase{
            "MissingFileName", "C:\\Docs", {"Version no file"}, "P:\\only" + kSep + "Not Found"},
        LocationCase{"Position100Found", "C:\\Docs", Numbered(100, "Version 9"),
                     "P:\\Version 9" + kSep + "Version 9.adr"},
        LocationCase{"Position101NotFound", "C:\\Docs", Numbered(101, "Version 9"),
                     "C:\\Docs" + kSep + "addressBook.adr"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GetIvroBackupFileCountTest, AsksForAtMost101SubKeys) {
    FakeRegistry registry;
    registry.subKeys[kBackupKey] = Numbered(300, "Version 1");
    GetIvroBackupFile(registry);
    EXPECT_EQ(registry.enumCalls, 101);

    FakeRegistry few;
    few.subKeys[kBackupKey] = {"a", "b"};
    GetIvroBackupFile(few);
    EXPECT_EQ(few.enumCalls, 3); // the third answers "Not Found" and ends the search
}

} // namespace
} // namespace addrix
