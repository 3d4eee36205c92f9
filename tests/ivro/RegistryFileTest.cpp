#include "platform/RegistryFile.h"

#include "ivro/IvroBackupLocation.h"
#include "platform/PathUtil.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdlib>

namespace addrix {
namespace {

using test::TempDir;
using Type = RegistryValue::Type;

const std::string kSep(1, kPathSeparator);
const std::string kBackupKey = "Software\\Quorvane\\Ivro Backup";

std::string DataFile(const std::string& name) {
    const char* root = std::getenv("ADDRIX_TEST_DATA");
    return std::string(root ? root : ".") + "/data/" + name;
}

std::vector<std::string> SubKeys(const IRegistry& registry, const std::string& key) {
    std::vector<std::string> names;
    for (std::int32_t i = 0;; ++i) {
        const std::optional<std::string> name = registry.enumSubKey(key, i);
        if (!name)
            return names;
        names.push_back(*name);
    }
}

struct FileCase {
    const char* name;
    const char* file;
    std::vector<std::string> backupSubKeys;
    std::string backupFile;
};

void PrintTo(const FileCase& c, std::ostream* os) {
    *os << c.name;
}

class RegistryFileFormatTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(RegistryFileFormatTest, ReadsKeysInOrderAndFindsTheBackup) {
    const FileCase& c = GetParam();
    const RegistryFile registry(DataFile(c.file));
    EXPECT_EQ(SubKeys(registry, kBackupKey), c.backupSubKeys);
    EXPECT_EQ(GetIvroBackupFile(registry), c.backupFile);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, RegistryFileFormatTest,
    ::testing::Values(FileCase{"Regedit4",
                               "regedit4.reg",
                               {"alpha", "Settings", "Version 2.0", "version3", "Zeta", "_under"},
                               "D:\\Backups" + kSep + "book 2.adr"},
                      FileCase{"Regedit5Utf16",
                               "regedit5-utf16.reg",
                               {"Vers", "VERSION", "Version 2"},
                               "C:\\\xE9?" + kSep + "r\xE9sum\xE9 ?.adr"},
                      FileCase{"Regedit5EightBit",
                               "regedit5-ansi.reg",
                               {"Vers", "VERSION", "Version 2"},
                               "C:\\\xE9?" + kSep + "r\xE9sum\xE9.adr"},
                      FileCase{"WineUserReg",
                               "user.reg",
                               {"settings", "Version 4"},
                               "C:\\users\\ann\\Ivro" + kSep + "caf\xE9 ?.adr"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ValueCase {
    const char* name;
    const char* file;
    std::string key;
    std::string value;
    Type type;
    std::string data;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.name;
}

class RegistryFileValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(RegistryFileValueTest, DecodesTheData) {
    const ValueCase& c = GetParam();
    const RegistryFile registry(DataFile(c.file));
    const std::optional<RegistryValue> value = registry.queryValue(c.key, c.value);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->type, c.type);
    EXPECT_EQ(value->data, c.data);
}

const std::string kShell = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kSettings = kBackupKey + "\\Settings";
const std::string kWine = kBackupKey + "\\Version 4";

std::string Nul(const std::string& text) {
    return text + '\0';
}

INSTANTIATE_TEST_SUITE_P(
    Values, RegistryFileValueTest,
    ::testing::Values(
        ValueCase{"Escapes", "regedit4.reg", kShell, "Personal", Type::String,
                  Nul("C:\\Users\\Ann\\My Documents")},
        ValueCase{"QuoteEscape", "regedit4.reg", kSettings, "Quote", Type::String,
                  Nul("say \"hi\" to C:\\")},
        ValueCase{"DefaultValue", "regedit4.reg", kSettings, "", Type::String, Nul("default text")},
        ValueCase{"Dword", "regedit4.reg", kSettings, "Count", Type::DWord,
                  std::string("\x07\0\0\0", 4)},
        ValueCase{"Binary", "regedit4.reg", kSettings, "Blob", Type::Binary, "\x0A\x1F"},
        ValueCase{"ContinuedHex", "regedit4.reg", kSettings, "long", Type::Binary,
                  [] {
                      std::string bytes;
                      for (char b = 0; b < 0x1A; ++b)
                          bytes += b;
                      return bytes;
                  }()},
        ValueCase{"ExpandStringEightBit", "regedit4.reg", kSettings, "EXPAND", Type::ExpandString,
                  Nul("%TEMP%\\x")},
        ValueCase{"PathIgnoresCase", "regedit4.reg",
                  "software\\QUORVANE\\ivro backup\\\\settings\\", "count", Type::DWord,
                  std::string("\x07\0\0\0", 4)},
        ValueCase{"Utf16Latin1", "regedit5-utf16.reg", kShell, "Personal", Type::String,
                  Nul("C:\\Users\\Zo\xEB\\Documents")},
        ValueCase{"Utf16Dword", "regedit5-utf16.reg", kBackupKey + "\\VERSION", "Number",
                  Type::DWord, std::string("\x2A\0\0\0", 4)},
        ValueCase{"WineExpandString", "user.reg", kWine, "addressBookPath", Type::ExpandString,
                  Nul("C:\\users\\ann\\Ivro\\")},
        ValueCase{"WineEscapes", "user.reg", kWine, "Escapes", Type::String,
                  Nul(std::string("tab\there\nnew \"q\" \\ end") + '\0')},
        ValueCase{"WineDword", "user.reg", kWine, "Count", Type::DWord,
                  std::string("\xD2\x04\0\0", 4)},
        ValueCase{"WineBinary", "user.reg", kWine, "Blob", Type::Binary, "\x0A\x1F"},
        ValueCase{"WineHexExpand", "user.reg", kWine, "Wide", Type::ExpandString, Nul("%TEMP%")},
        ValueCase{"WineHexMulti", "user.reg", kWine, "Multi", Type::MultiString,
                  std::string("a\0b\0\0", 5)},
        ValueCase{"WineStrMulti", "user.reg", kWine, "Lines", Type::MultiString,
                  std::string("one\0two\0\0", 9)},
        ValueCase{"WineDefault", "user.reg", kBackupKey + "\\SETTINGS", "", Type::String,
                  Nul("first")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegistryFileTest, TextOfTheRegistryProcedures) {
    const RegistryFile registry(DataFile("regedit4.reg"));
    EXPECT_EQ(ReadRegistryValue(registry, kSettings, "Count"), "007");
    EXPECT_EQ(ReadRegistryValue(registry, kSettings, "Big"), "1234");
    EXPECT_EQ(ReadRegistryValue(registry, kSettings, "Blob"), "0A1F");
    EXPECT_EQ(ReadRegistryValue(registry, kSettings, "Gone"), "Not Found");
    EXPECT_EQ(ReadRegistryValue(registry, kSettings, "Missing"), "Not Found");
    EXPECT_EQ(ReadRegistryValue(registry, kBackupKey + "\\Nowhere", "Count"), "Not Found");
}

TEST(RegistryFileTest, OnlyTheCurrentUsersKeysCount) {
    const RegistryFile registry(DataFile("regedit4.reg"));
    EXPECT_FALSE(registry.queryValue(kBackupKey + "\\Version 9", "addressBookPath"));
    EXPECT_FALSE(registry.queryValue(kBackupKey + "\\Removed", "addressBookPath"));
    EXPECT_FALSE(registry.queryValue("HKEY_LOCAL_MACHINE\\" + kBackupKey + "\\Version 9",
                                     "addressBookPath"));
}

TEST(RegistryFileTest, AncestorOnlyKeysAreSubKeysAndDeeperKeysAreNot) {
    const RegistryFile registry(DataFile("regedit4.reg"));
    EXPECT_EQ(SubKeys(registry, kBackupKey + "\\alpha"), std::vector<std::string>{"Deep"});
    EXPECT_EQ(SubKeys(registry, "Software\\Quorvane"), std::vector<std::string>{"Ivro Backup"});
    EXPECT_EQ(SubKeys(registry, ""), std::vector<std::string>{"Software"});
    EXPECT_FALSE(registry.enumSubKey(kBackupKey, -1));
    EXPECT_FALSE(registry.enumSubKey("Software\\Nowhere", 0));
}

TEST(RegistryFileTest, UnreadableOrUnknownFilesAreEmpty) {
    TempDir dir;
    const std::string unknown = dir.write("other.reg", "[HKEY_CURRENT_USER\\Software\\X]\r\n"
                                                       "\"a\"=\"b\"\r\n");
    const std::string broken =
        dir.write("broken.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"open\r\n"
                                "\"b\"=dword:xyz\r\n\"c\"=hex:1,,2\r\n\"d\"=hex(zz):00\r\n"
                                "\"e\"=unknown:1\r\n\"f\"=dword:123456789\r\n\"g\"=\"ok\"\r\n");
    const struct {
        const char* name;
        std::string path;
    } cases[] = {{"missing", dir.file("none.reg")},
                 {"folder", dir.path()},
                 {"empty path", ""},
                 {"no header", unknown}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RegistryFile registry(c.path);
        EXPECT_FALSE(registry.queryValue("Software\\X", "a"));
        EXPECT_FALSE(registry.enumSubKey("", 0));
        EXPECT_EQ(GetIvroBackupFile(registry), "Not Found" + kSep + "addressBook.adr");
    }
    const RegistryFile registry(broken);
    for (const char* name : {"a", "b", "c", "d", "e", "f"})
        EXPECT_FALSE(registry.queryValue("K", name)) << name;
    EXPECT_EQ(ReadRegistryValue(registry, "K", "g"), "ok");
}

TEST(RegistryFileTest, SurrogatePairsAndLoneBytes) {
    // UTF-16LE with a character beyond 16 bits, and a trailing odd byte.
    std::string bytes = "\xFF\xFE";
    for (const char c : std::string("Windows Registry Editor Version 5.00\r\n"
                                    "[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"x")) {
        bytes += c;
        bytes += '\0';
    }
    bytes += "\x3D\xD8\x00\xDE"; // U+1F600
    bytes += std::string("y\0\"\0\r\0\n\0", 8);
    bytes += 'z';
    const RegistryFile registry = RegistryFile::FromBytes(bytes);
    EXPECT_EQ(ReadRegistryValue(registry, "K", "a"), "x?y");
}

} // namespace
} // namespace addrix
