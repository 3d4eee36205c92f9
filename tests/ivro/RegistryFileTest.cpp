#include "platform/RegistryFile.h"

#include "ivro/IvroBackupLocation.h"
#include "platform/PathUtil.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace addrix {
namespace {

using Names = std::vector<std::string>;

const std::string kSep(1, kPathSeparator);
const std::string kBackupKey = "Software\\Quorvane\\Ivro Backup";
const std::string kShell = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

RegistryFile Load(const std::string& name) {
    const char* root = std::getenv("ADDRIX_TEST_DATA");
    return RegistryFile(std::string(root ? root : ".") + "/data/" + name);
}

Names SubKeys(const IRegistry& registry, const std::string& key) {
    Names names;
    for (std::int32_t i = 0; const auto name = registry.enumSubKey(key, i); ++i)
        names.push_back(*name);
    return names;
}

TEST(RegistryFileTest, ReadsEachFormatAndFindsTheBackup) {
    // File, sub-keys of the backup tool in name order (case ignored), proposed backup.
    using Case = std::tuple<const char*, Names, std::string>;
    // clang-format off
    const Case cases[] = {
        {"regedit4.reg", {"alpha", "Settings", "Version 2.0", "version3", "Zeta", "_under"},
         "D:\\Backups" + kSep + "book 2.adr"},
        {"regedit5-utf16.reg", {"Vers", "VERSION", "Version 2"}, "C:\\\xE9?" + kSep + "r\xE9sum\xE9 ?.adr"},
        {"regedit5-ansi.reg", {"Vers", "VERSION", "Version 2"}, "C:\\\xE9?" + kSep + "r\xE9sum\xE9.adr"},
        {"user.reg", {"settings", "Version 4"}, "C:\\users\\ann\\Ivro" + kSep + "caf\xE9 ?.adr"}};
    // clang-format on
    for (const auto& [file, subKeys, backupFile] : cases) {
        const RegistryFile registry = Load(file);
        EXPECT_EQ(SubKeys(registry, kBackupKey), subKeys) << file;
        EXPECT_EQ(GetIvroBackupFile(registry), backupFile) << file;
    }
    const RegistryFile registry = Load("regedit4.reg");
    EXPECT_EQ(SubKeys(registry, kBackupKey + "\\alpha"), Names{"Deep"});
    EXPECT_EQ(SubKeys(registry, ""), Names{"Software"});
}

TEST(RegistryFileTest, DecodesTheValues) {
    const std::string settings = kBackupKey + "\\Settings";
    const std::string wine = kBackupKey + "\\Version 4";
    // File, key, value name, the text ReadRegistryValue makes of it.
    using Case = std::tuple<const char*, std::string, const char*, std::string>;
    // clang-format off
    const Case cases[] = {
        {"regedit4.reg", kShell, "Personal", "C:\\Users\\Ann\\My Documents"},
        {"regedit4.reg", settings, "Quote", "say \"hi\" to C:\\"},
        {"regedit4.reg", settings, "", "default text"},
        {"regedit4.reg", settings, "Count", "007"},
        {"regedit4.reg", "software\\QUORVANE\\ivro backup\\\\settings\\", "BIG", "1234"},
        {"regedit4.reg", settings, "Long", "000102030405060708090A0B0C0D0E0F10111213141516171819"},
        {"regedit4.reg", settings, "Expand", "%TEMP%\\x"},
        {"regedit4.reg", settings, "Gone", "Not Found"}, // deleted again
        {"regedit4.reg", kBackupKey + "\\Version 9", "addressBookPath", "Not Found"}, // machine's
        {"regedit4.reg", kBackupKey + "\\Removed", "addressBookPath", "Not Found"},
        {"regedit5-utf16.reg", kShell, "Personal", "C:\\Users\\Zo\xEB\\Documents"},
        {"user.reg", wine, "Escapes", std::string("tab\there\nnew \"q\" \\ end") + '\0'},
        {"user.reg", wine, "Wide", "%TEMP%"},
        {"user.reg", wine, "Multi", std::string("a\0b\0", 4)},
        {"user.reg", wine, "Lines", std::string("one\0two\0", 8)},
        {"user.reg", kBackupKey + "\\SETTINGS", "", "first"}};
    // clang-format on
    for (const auto& [file, key, value, text] : cases)
        EXPECT_EQ(ReadRegistryValue(Load(file), key, value), text) << file << " " << value;
}

TEST(RegistryFileTest, BadFilesAndLinesAnswerNothing) {
    test::TempDir dir;
    const std::string noHeader = dir.write("x.reg", "[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"b\"\r\n");
    for (const std::string& path : {dir.file("none.reg"), dir.path(), std::string(), noHeader})
        EXPECT_EQ(GetIvroBackupFile(RegistryFile(path)), "Not Found" + kSep + "addressBook.adr");

    const RegistryFile broken = RegistryFile::FromBytes(
        "REGEDIT4\r\n[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"open\r\n\"b\"=dword:xyz\r\n"
        "\"c\"=hex:1,,2\r\n\"d\"=hex(zz):00\r\n\"e\"=unknown:1\r\n\"f\"=dword:123456789\r\n"
        "\"g\"=\"ok\"\r\n");
    for (const char* name : {"a", "b", "c", "d", "e", "f"})
        EXPECT_FALSE(broken.queryValue("K", name)) << name;
    EXPECT_EQ(ReadRegistryValue(broken, "K", "g"), "ok");

    // UTF-16LE with a character beyond 16 bits and a trailing odd byte.
    std::string bytes = "\xFF\xFE";
    for (const char c : std::string("Windows Registry Editor Version 5.00\r\n"
                                    "[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"x"))
        bytes += std::string{c, '\0'};
    bytes += std::string("\x3D\xD8\x00\xDEy\0\"\0\r\0\n\0z", 13);
    EXPECT_EQ(ReadRegistryValue(RegistryFile::FromBytes(bytes), "K", "a"), "x?y");
}

} // namespace
} // namespace addrix
