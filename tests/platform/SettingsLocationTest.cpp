#include "platform/SettingsLocation.h"

#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "support/TestSupport.h"
#include "support/WizardFakes.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

namespace addrix {
namespace {

TEST(SettingsLocationTest, TheUsersFileStandsInWhereTheProgramFolderCannotBeWritten) {
    const std::string beside = "/opt/addrix/addrix.INI";
    const std::string ann = "/home/ann/.config/addrix/";
    const std::string appData = "C:\\Users\\ann\\AppData\\Roaming";
    const std::string sep(1, kPathSeparator);
    // What is read-only, the environment, the file and folder used, the export folder.
    using Case = std::tuple<std::set<std::string>, std::map<std::string, std::string>, UserFolders,
                            std::string, std::string, std::string>;
    const std::set<std::string> none, dir = {"/opt/addrix"}, ini = {beside};
    const std::map<std::string, std::string> home = {{"HOME", "/home/ann"}};
    // clang-format off
    const Case cases[] = {
        {none, home, UserFolders::Xdg, beside, "/opt/addrix" + sep, "/opt/addrix"},
        {dir, {{"XDG_CONFIG_HOME", "/cfg/"}, {"HOME", "/home/ann"}}, UserFolders::Xdg, "/cfg/addrix/addrix.INI", "/cfg/addrix/", "/docs"},
        {dir, home, UserFolders::Xdg, ann + "addrix.INI", ann, "/docs"},
        {ini, home, UserFolders::Xdg, ann + "addrix.INI", ann, "/opt/addrix"}, // a read-only file stays
        {dir, {{"APPDATA", appData}}, UserFolders::Windows, appData + "\\addrix\\addrix.INI", appData + "\\addrix\\", "/docs"}};
    // clang-format on
    for (const auto& [readOnly, env, style, file, folder, exportFolder] : cases) {
        test::FakeFileSystem files;
        files.folders = {"/opt/addrix"};
        files.files = {beside};
        files.readOnly = readOnly;
        const SettingsLocation location =
            LocateSettings("/opt/addrix", beside, files, test::Env(env), style);
        EXPECT_EQ(location.file + "|" + location.fallback + "|" + location.folder,
                  file + "|" + (file == beside ? "" : beside) + "|" + folder);
        EXPECT_EQ(DefaultExportFolder("/opt/addrix", files, [] { return "/docs"; }), exportFolder);
        EXPECT_EQ(DefaultExportFolder("/opt/addrix", files, [] { return ""; }), "/opt/addrix");
    }
}

// A new user's documents folder may not exist yet: it is made, else the
// folder above it takes the export.
TEST(SettingsLocationTest, AMissingDocumentsFolderIsMadeOrTheOneAboveServes) {
    test::FakeFileSystem files;
    files.folders = {"/opt/addrix", "/home/ann/"};
    files.readOnly = {"/opt/addrix"};
    const auto documents = [] {
        return std::string("/home/ann/Documents");
    };
    EXPECT_EQ(DefaultExportFolder("/opt/addrix", files, documents), "/home/ann/Documents");
    EXPECT_EQ(files.folders.count("/home/ann/Documents"), 1u);
    files.folders.erase("/home/ann/Documents");
    files.unmakeable = {"/home/ann/Documents"};
    EXPECT_EQ(DefaultExportFolder("/opt/addrix", files, documents), "/home/ann/");
}

TEST(SettingsLocationTest, ReadsTheUsersFileFirstAndWritesOnlyIt) {
    test::TempDir program;
    test::TempDir user;
    const std::string beside =
        program.write("addrix.INI", "[Settings]\r\nDebug=true\r\nExportFile=admin.csv\r\n");
    const SettingsLocation location{beside, user.file("sub/addrix/addrix.INI"), beside,
                                    user.file("sub/addrix/")};
    IniFile files;
    SettingsIni ini(files, location);
    ASSERT_TRUE(MakeSettingsFolder(location));
    ASSERT_TRUE(ini.writeString("Settings", "ExportFile", "user.csv", beside));
    EXPECT_EQ(test::ReadFile(location.file), "[Settings]\r\nExportFile=user.csv\r\n");
    EXPECT_EQ(test::ReadFile(beside), "[Settings]\r\nDebug=true\r\nExportFile=admin.csv\r\n");
    const auto read = [&](const char* key) {
        return ini.readString("settings", key, "none", 1024, beside);
    };
    EXPECT_EQ(read("exportfile") + "|" + read("Debug") + "|" + read("IvroFile"),
              "user.csv|true|none");
    // An empty value in the user's file is a value, not a missing key.
    ASSERT_TRUE(ini.writeString("Settings", "Debug", "", beside));
    EXPECT_EQ(read("Debug"), "");
}

} // namespace
} // namespace addrix
