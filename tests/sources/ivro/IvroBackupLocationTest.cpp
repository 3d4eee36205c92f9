// Where the Ivro backup file is proposed and how registry values become text:
// over fake registries, registry files in each format and the user's registry.

#include "sources/ivro/IvroBackupLocation.h"

#include "platform/PathUtil.h"
#include "platform/registry/DocumentsFolderFallback.h"
#include "platform/registry/RegistryFile.h"
#include "platform/registry/UserRegistry.h"
#include "support/FakeRegistry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace addrix {
namespace {

using test::Env;
using test::FakeRegistry;
using Type = RegistryValue::Type;
using Names = std::vector<std::string>;

const std::string kSep(1, kPathSeparator);
const std::string kBackupKey = "Software\\Quorvane\\Ivro Backup\\";
const std::string kShell = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

TEST(RegistryAccessTest, TurnsTheDataIntoTextByTypeAndGivesNotFoundForTheRest) {
    FakeRegistry registry;
    const std::pair<RegistryValue, std::string> cases[] = {
        {{Type::DWord, "\xFF\xFF\xFF\xFF"}, "4294967295"},
        {{Type::DWord, "\x2A"}, "042"}, // less data than a DWORD
        {{Type::String, std::string(2047, 's') + '\0'}, std::string(2047, 's')},
        {{Type::String, std::string(2048, 's') + '\0'}, "Not Found"}}; // beyond the buffer
    for (const auto& [value, expected] : cases) {
        registry.values[{"Key", "Value"}] = value;
        EXPECT_EQ(ReadRegistryValue(registry, "Key", "Value"), expected) << value.data.size();
    }
    registry.subKeys["Key"] = {std::string("two\0junk", 8), std::string(2048, 'n')};
    EXPECT_EQ(EnumRegistrySubKey(registry, "Key", 0), "two");
    EXPECT_EQ(EnumRegistrySubKey(registry, "Key", 1), "Not Found");
    EXPECT_EQ(EnumRegistrySubKey(registry, "Key", 2), "Not Found");
}

TEST(GetIvroBackupFileTest, ProposesTheBackupFile) {
    // Documents folder, sub-keys of the backup tool, result.
    using Case = std::tuple<const char*, std::vector<std::string>, std::string>;
    const Case cases[] = {
        {"D:\\\\", {}, "D:\\" + kSep + "addressBook.adr"}, // one separator dropped
        {"/home/a/", {}, "/home/a" + kSep + "addressBook.adr"},
        {"C:\\Docs", {"VERSION 1"}, "P:\\VERSION 1" + kSep + "Not Found"}};
    for (const auto& [documents, subKeys, expected] : cases) {
        FakeRegistry registry;
        registry.setString(kShell, "Personal", documents);
        registry.subKeys[kBackupKey] = subKeys;
        for (const std::string& name : subKeys) // a version without its file's name
            registry.setString(kBackupKey + name, "addressBookPath", "P:\\" + name + "\\");
        EXPECT_EQ(GetIvroBackupFile(registry), expected);
    }
}

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
    EXPECT_EQ(SubKeys(registry, kBackupKey + "alpha"), Names{"Deep"});
    EXPECT_EQ(SubKeys(registry, ""), Names{"Software"});
}

TEST(RegistryFileTest, DecodesTheValues) {
    const std::string settings = kBackupKey + "Settings";
    const std::string wine = kBackupKey + "Version 4";
    // File, key, value name, the text ReadRegistryValue makes of it.
    using Case = std::tuple<const char*, std::string, const char*, std::string>;
    // clang-format off
    const Case cases[] = {
        {"regedit4.reg", settings, "Quote", "say \"hi\" to C:\\"},
        {"regedit4.reg", "software\\QUORVANE\\ivro backup\\\\settings\\", "BIG", "1234"},
        {"regedit4.reg", settings, "Long", "000102030405060708090A0B0C0D0E0F10111213141516171819"},
        {"regedit4.reg", settings, "Expand", "%TEMP%\\x"},
        {"regedit4.reg", settings, "Gone", "Not Found"}, // deleted again
        {"regedit4.reg", kBackupKey + "Version 9", "addressBookPath", "Not Found"}, // machine's
        {"regedit4.reg", kBackupKey + "Removed", "addressBookPath", "Not Found"},
        {"user.reg", wine, "Escapes", std::string("tab\there\nnew \"q\" \\ end") + '\0'},
        {"user.reg", wine, "Multi", std::string("a\0b\0", 4)},
        {"user.reg", wine, "Lines", std::string("one\0two\0", 8)},
        {"user.reg", kBackupKey + "SETTINGS", "", "first"}};
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

TEST(UserRegistryTest, RegistryFileFromTheFirstVariableThatIsSet) {
    const std::pair<std::map<std::string, std::string>, std::string> cases[] = {
        {{{"ADDRIX_REGISTRY", "/r"}, {"WINEPREFIX", "/w"}}, "/r"},
        {{{"WINEPREFIX", "/w"}, {"HOME", "/h"}}, "/w" + kSep + "user.reg"},
        {{{"HOME", "/h"}}, "/h" + kSep + ".wine" + kSep + "user.reg"},
        {{}, ""}};
    for (const auto& [env, path] : cases)
        EXPECT_EQ(DefaultRegistryFilePath(Env(env)), path);
}

#ifndef _WIN32
// The desktop's user folders, where the registry is a file of the compatibility layer.
TEST(UserRegistryTest, DocumentsFolderFromEnvironmentThenUserDirsThenHome) {
    test::TempDir dir;
    const std::string home = dir.path();
    std::filesystem::create_directories(dir.file(".config"));
    dir.write(".config/user-dirs.dirs", "# desktop\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                        "XDG_DOCUMENTS_DIR=\"$HOME/My Docs\"\n");
    EXPECT_EQ(DefaultDocumentsFolder(Env({{"XDG_DOCUMENTS_DIR", "/d"}, {"HOME", home}})), "/d");
    EXPECT_EQ(DefaultDocumentsFolder(Env({{"HOME", home}})), home + "/My Docs");
    EXPECT_EQ(DefaultDocumentsFolder(Env({})), "");

    const std::string fallback = home + kSep + "Documents";
    // clang-format off
    const std::pair<std::string, std::string> lines[] = {
        {"XDG_DOCUMENTS_DIR=\"/srv/docs\"\r\n", "/srv/docs"},
        {"XDG_DOCUMENTS_DIR=\"${HOME}/A \\\"B\\\"\"\n", home + "/A \"B\""},
        {"#XDG_DOCUMENTS_DIR=\"/commented\"\n", fallback},
        {"XDG_DOCUMENTS_DIR=\"relative/docs\"\n", fallback}};
    // clang-format on
    for (const auto& [line, expected] : lines) {
        dir.write("user-dirs.dirs", line);
        EXPECT_EQ(DefaultDocumentsFolder(Env({{"HOME", home}, {"XDG_CONFIG_HOME", home}})),
                  expected);
    }
}
#endif

TEST(UserRegistryTest, DocumentsFolderStandsInOnlyForAMissingValue) {
    auto inner = std::make_unique<test::FakeRegistry>();
    inner->subKeys["Software"] = {"Quorvane"};
    inner->setString(kShell, "Desktop", "C:\\Desk");
    const DocumentsFolderFallback registry(std::move(inner), "/home/ann/Docs");
    EXPECT_EQ(ReadRegistryValue(registry, kShell, "PERSONAL"), "/home/ann/Docs");
    EXPECT_EQ(ReadRegistryValue(registry, kShell, "Desktop"), "C:\\Desk");
    EXPECT_EQ(ReadRegistryValue(registry, kShell, "Other"), "Not Found");
    EXPECT_EQ(EnumRegistrySubKey(registry, "Software", 0), "Quorvane");
}

#ifndef _WIN32
// A prefix of the compatibility layer: its registry names drive paths, which
// mean places inside the prefix.
TEST(UserRegistryTest, DrivePathsOfAPrefixBecomePlacesOnThisSystem) {
    test::TempDir prefix;
    std::filesystem::create_directories(prefix.file("drive_c"));
    std::filesystem::create_directories(prefix.file("dosdevices"));
    std::filesystem::create_directory_symlink("../drive_c", prefix.file("dosdevices/c:"));
    const auto env = Env({{"WINEPREFIX", prefix.path()}, {"XDG_DOCUMENTS_DIR", "/d"}});
    // No registry file yet: the desktop's documents folder stands in.
    EXPECT_EQ(GetIvroBackupFile(*OpenUserRegistry(env)), "/d" + kSep + "addressBook.adr");

    const std::string c = prefix.file("dosdevices") + kSep + "c:";
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\\\users\\\\ann", c + "/users/ann/addressBook.adr"},
        {"c:\\\\", c + "/addressBook.adr"},
        {"D:\\\\Data", "D:\\Data/addressBook.adr"},               // no link for D:
        {"\\\\\\\\server\\\\x", "\\\\server\\x/addressBook.adr"}, // not a drive path
    };
    for (const auto& [stored, expected] : cases) {
        prefix.write("user.reg", "WINE REGISTRY Version 2\n[Software\\\\Microsoft\\\\Windows\\\\"
                                 "CurrentVersion\\\\Explorer\\\\Shell Folders]\n\"Personal\"=\"" +
                                     stored + "\"\n");
        EXPECT_EQ(GetIvroBackupFile(*OpenUserRegistry(env)), expected) << stored;
    }
}
#endif

} // namespace
} // namespace addrix
