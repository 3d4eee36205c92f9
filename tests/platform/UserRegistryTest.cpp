#include "platform/UserRegistry.h"

#include "ivro/IvroBackupLocation.h"
#include "platform/DocumentsFolderFallback.h"
#include "platform/PathUtil.h"
#include "platform/RegistryFile.h"
#include "support/FakeRegistry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace addrix {
namespace {

const std::string kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kSep(1, kPathSeparator);

EnvLookup Env(std::map<std::string, std::string> variables) {
    return [variables](const std::string& name) {
        const auto found = variables.find(name);
        return found == variables.end() ? std::string() : found->second;
    };
}

TEST(UserRegistryTest, RegistryFileFromTheFirstVariableThatIsSet) {
    EXPECT_EQ(DefaultRegistryFilePath(Env({{"ADDRIX_REGISTRY", "/r"}, {"WINEPREFIX", "/w"}})),
              "/r");
    EXPECT_EQ(DefaultRegistryFilePath(Env({{"WINEPREFIX", "/w"}, {"HOME", "/h"}})),
              "/w" + kSep + "user.reg");
    EXPECT_EQ(DefaultRegistryFilePath(Env({{"HOME", "/h"}})),
              "/h" + kSep + ".wine" + kSep + "user.reg");
    EXPECT_EQ(DefaultRegistryFilePath(Env({})), "");
}

TEST(UserRegistryTest, DocumentsFolderFromEnvironmentThenUserDirsThenHome) {
    test::TempDir dir;
    const std::string home = dir.path();
    std::filesystem::create_directories(dir.file(".config"));
    dir.write(".config/user-dirs.dirs", "# desktop\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                        "XDG_DOCUMENTS_DIR=\"$HOME/My Docs\"\n");
    EXPECT_EQ(DefaultDocumentsFolder(Env({{"XDG_DOCUMENTS_DIR", "/d"}, {"HOME", home}})), "/d");
    EXPECT_EQ(DefaultDocumentsFolder(Env({{"HOME", home}})), home + "/My Docs");
    EXPECT_EQ(DefaultDocumentsFolder(Env({{"HOME", "/nobody"}})), "/nobody" + kSep + "Documents");
    EXPECT_EQ(DefaultDocumentsFolder(Env({})), "");

    const std::string fallback = home + kSep + "Documents";
    // clang-format off
    const std::pair<std::string, std::string> lines[] = {
        {"XDG_DOCUMENTS_DIR=\"/srv/docs\"\r\n", "/srv/docs"},
        {"XDG_DOCUMENTS_DIR=\"${HOME}/A \\\"B\\\"\"\n", home + "/A \"B\""},
        {"#XDG_DOCUMENTS_DIR=\"/commented\"\n", fallback},
        {"XDG_DOCUMENTS_DIR=\"relative/docs\"\n", fallback},
        {"XDG_DOCUMENTS_DIR=\"$HOMEWORK/x\"\n", fallback},
        {"XDG_DOCUMENTS_DIRX=\"/other\"\n", fallback}};
    // clang-format on
    for (const auto& [line, expected] : lines) {
        dir.write("user-dirs.dirs", line);
        EXPECT_EQ(DefaultDocumentsFolder(Env({{"HOME", home}, {"XDG_CONFIG_HOME", home}})),
                  expected);
    }
}

TEST(UserRegistryTest, DocumentsFolderStandsInOnlyForAMissingValue) {
    auto inner = std::make_unique<test::FakeRegistry>();
    inner->subKeys["Software"] = {"Quorvane"};
    inner->setString(kShellFolders, "Desktop", "C:\\Desk");
    const DocumentsFolderFallback registry(std::move(inner), "/home/ann/Docs");
    EXPECT_EQ(ReadRegistryValue(registry, kShellFolders, "PERSONAL"), "/home/ann/Docs");
    EXPECT_EQ(ReadRegistryValue(registry, kShellFolders, "Desktop"), "C:\\Desk");
    EXPECT_EQ(ReadRegistryValue(registry, kShellFolders, "Other"), "Not Found");
    EXPECT_EQ(EnumRegistrySubKey(registry, "Software", 0), "Quorvane");
#ifndef _WIN32
    test::TempDir dir;
    const std::string file = dir.write("a.reg", "REGEDIT4\n[HKEY_CURRENT_USER\\" + kShellFolders +
                                                    "]\n\"Personal\"=\"C:\\\\D\"\n");
    EXPECT_EQ(GetIvroBackupFile(*OpenUserRegistry(Env({{"ADDRIX_REGISTRY", file}}))),
              "C:\\D" + kSep + "addressBook.adr");
    EXPECT_EQ(GetIvroBackupFile(*OpenUserRegistry(
                  Env({{"ADDRIX_REGISTRY", dir.file("none")}, {"XDG_DOCUMENTS_DIR", "/d"}}))),
              "/d" + kSep + "addressBook.adr");
#endif
}

} // namespace
} // namespace addrix
