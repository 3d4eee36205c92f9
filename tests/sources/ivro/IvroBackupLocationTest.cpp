// Where the Ivro backup file is proposed, from each kind of registry.

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

namespace addrix {
namespace {

using test::Env;

const std::string kSep(1, kPathSeparator);
const std::string kBackupKey = "Software\\Quorvane\\Ivro Backup\\";
const std::string kShell = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

TEST(RegistryAccessTest, ValuesAndNamesMustFitTheBuffer) {
    test::FakeRegistry registry;
    registry.setString("Key", "Fits", std::string(2047, 's'));
    registry.setString("Key", "Long", std::string(2048, 's'));
    registry.subKeys["Key"] = {std::string(2048, 'n')};
    EXPECT_EQ(ReadRegistryValue(registry, "Key", "Fits"), std::string(2047, 's'));
    EXPECT_EQ(ReadRegistryValue(registry, "Key", "Long"), "Not Found");
    EXPECT_EQ(EnumRegistrySubKey(registry, "Key", 0), "Not Found");
}

TEST(GetIvroBackupFileTest, ProposesTheBackupFile) {
    // Documents folder, sub-keys of the backup tool, result.
    using Case = std::tuple<const char*, std::vector<std::string>, std::string>;
    const Case cases[] = {
        {"D:\\\\", {}, "D:\\" + kSep + "addressBook.adr"}, // one separator dropped
        {"/home/a/", {}, "/home/a" + kSep + "addressBook.adr"},
        {"C:\\Docs", {"Settings", "VERSION 1", "Version 2"}, "P:\\VERSION 1" + kSep + "Not Found"}};
    for (const auto& [documents, subKeys, expected] : cases) {
        test::FakeRegistry registry;
        registry.setString(kShell, "Personal", documents);
        registry.subKeys[kBackupKey] = subKeys;
        for (const std::string& name : subKeys) // a version without its file's name
            registry.setString(kBackupKey + name, "addressBookPath", "P:\\" + name + "\\");
        EXPECT_EQ(GetIvroBackupFile(registry), expected);
    }
}

TEST(RegistryFileTest, ReadsEachFormatAndFindsTheBackup) {
    // The backup tool's sub-keys are taken in name order, case ignored: the
    // first "Version" one names the backup.
    const std::pair<const char*, std::string> cases[] = {
        {"regedit4.reg", "D:\\Backups" + kSep + "book 2.adr"},
        {"regedit5-utf16.reg", "C:\\\xE9?" + kSep + "r\xE9sum\xE9 ?.adr"},
        {"regedit5-ansi.reg", "C:\\\xE9?" + kSep + "r\xE9sum\xE9.adr"},
        {"user.reg", "C:\\users\\ann\\Ivro" + kSep + "caf\xE9 ?.adr"}};
    const char* root = std::getenv("ADDRIX_TEST_DATA");
    for (const auto& [file, backupFile] : cases) {
        const RegistryFile registry(std::string(root ? root : ".") + "/data/" + file);
        EXPECT_EQ(GetIvroBackupFile(registry), backupFile) << file;
    }
    // Numbers, and data going on over lines.
    const RegistryFile regedit4(std::string(root ? root : ".") + "/data/regedit4.reg");
    const std::string key = kBackupKey + "Settings";
    EXPECT_EQ(ReadRegistryValue(regedit4, key, "Big"), "1234"); // dword:000004d2
    EXPECT_EQ(ReadRegistryValue(regedit4, key, "Long"),
              "000102030405060708090A0B0C0D0E0F10111213141516171819");
}

TEST(RegistryFileTest, BadLinesAndFilesWithoutHeaderAnswerNothing) {
    const std::string lines = "[HKEY_CURRENT_USER\\K]\r\n\"a\"=\"open\r\n\"g\"=\"ok\"\r\n";
    const RegistryFile broken = RegistryFile::FromBytes("REGEDIT4\r\n" + lines);
    EXPECT_FALSE(broken.queryValue("K", "a"));
    EXPECT_EQ(ReadRegistryValue(broken, "K", "g"), "ok");
    EXPECT_FALSE(RegistryFile::FromBytes(lines).queryValue("K", "g"));
}

TEST(UserRegistryTest, RegistryFileFromTheFirstVariableThatIsSet) {
    const auto both = Env({{"ADDRIX_REGISTRY", "/r"}, {"WINEPREFIX", "/w"}});
    EXPECT_EQ(DefaultRegistryFilePath(both), "/r");
    EXPECT_EQ(DefaultRegistryFilePath(Env({{"HOME", "/h"}})),
              "/h" + kSep + ".wine" + kSep + "user.reg");
}

#ifndef _WIN32
// The desktop's user folders, where the registry is a file of the compatibility
// layer; the environment comes first (see the prefix's test below).
TEST(UserRegistryTest, DocumentsFolderFromUserDirsThenHome) {
    test::TempDir dir;
    const std::string home = dir.path();
    const auto env = Env({{"HOME", home}, {"XDG_CONFIG_HOME", home}});
    dir.write("user-dirs.dirs",
              "XDG_DESKTOP_DIR=\"$HOME/D\"\nXDG_DOCUMENTS_DIR=\"$HOME/My Docs\"\n");
    EXPECT_EQ(DefaultDocumentsFolder(env), home + "/My Docs");
    dir.write("user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"relative/docs\"\n");
    EXPECT_EQ(DefaultDocumentsFolder(env), home + kSep + "Documents");
}

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
        {"D:\\\\Data", "D:\\Data/addressBook.adr"},               // no link for D:
        {"\\\\\\\\server\\\\x", "\\\\server\\x/addressBook.adr"}, // not a drive path
    };
    for (const auto& [stored, expected] : cases) {
        prefix.write("user.reg", "WINE REGISTRY Version 2\n[Software\\\\Microsoft\\\\Windows\\\\"
                                 "CurrentVersion\\\\Explorer\\\\Shell Folders]\n\"Personal\"=\"" +
                                     stored + "\"\n");
        EXPECT_EQ(GetIvroBackupFile(*OpenUserRegistry(env)), expected) << stored;
    }
    // The backup tool's key in the prefix names the backup, its drive path followed too.
    prefix.write("user.reg", "WINE REGISTRY Version 2\n[Software\\\\Quorvane\\\\Ivro Backup\\\\"
                             "Version 1]\n\"addressBookPath\"=\"C:\\\\ivro\"\n"
                             "\"addressBookFile\"=\"b.adr\"\n");
    EXPECT_EQ(GetIvroBackupFile(*OpenUserRegistry(env)), c + "/ivro/b.adr");
}
#endif

} // namespace
} // namespace addrix
