#include "platform/SettingsLocation.h"

#include "platform/IniFile.h"
#include "support/TestSupport.h"
#include "support/WizardFakes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace addrix {
namespace {

EnvLookup Env(std::map<std::string, std::string> values) {
    return [values](const std::string& name) {
        const auto found = values.find(name);
        return found == values.end() ? std::string() : found->second;
    };
}

TEST(SettingsLocationTest, TheUsersFileStandsInWhereTheProgramFolderCannotBeWritten) {
    struct Case {
        bool folderWritable, fileWritable;
        std::map<std::string, std::string> env;
        UserFolders style;
        std::string file, folder, exportFolder;
    };
    const std::string beside = "/opt/addrix/addrix.INI";
    const std::map<std::string, std::string> home = {{"HOME", "/home/ann"}};
    const Case cases[] = {
        {true, true, home, UserFolders::Xdg, beside, "/opt/addrix/", "/opt/addrix"},
        {false,
         true,
         {{"XDG_CONFIG_HOME", "/cfg/"}, {"HOME", "/home/ann"}},
         UserFolders::Xdg,
         "/cfg/addrix/addrix.INI",
         "/cfg/addrix/",
         "/docs"},
        {false, true, home, UserFolders::Xdg, "/home/ann/.config/addrix/addrix.INI",
         "/home/ann/.config/addrix/", "/docs"},
        // A relative XDG_CONFIG_HOME does not count.
        {false,
         true,
         {{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/home/ann"}},
         UserFolders::Xdg,
         "/home/ann/.config/addrix/addrix.INI",
         "/home/ann/.config/addrix/",
         "/docs"},
        // A read-only file in a writable folder is kept as it is.
        {true, false, home, UserFolders::Xdg, "/home/ann/.config/addrix/addrix.INI",
         "/home/ann/.config/addrix/", "/opt/addrix"},
        {false,
         true,
         {{"APPDATA", "C:\\Users\\ann\\AppData\\Roaming"}},
         UserFolders::Windows,
         "C:\\Users\\ann\\AppData\\Roaming\\addrix\\addrix.INI",
         "C:\\Users\\ann\\AppData\\Roaming\\addrix\\",
         "/docs"},
        // Nowhere else to go: the file beside the program, whose save then fails.
        {false, true, {}, UserFolders::Xdg, beside, "/opt/addrix/", "/docs"},
    };
    for (const Case& c : cases) {
        test::FakeFileSystem files;
        files.folders = {"/opt/addrix"};
        files.files = {beside};
        if (!c.folderWritable)
            files.readOnly.insert("/opt/addrix");
        if (!c.fileWritable)
            files.readOnly.insert(beside);
        const SettingsLocation location =
            LocateSettings("/opt/addrix", beside, files, Env(c.env), c.style);
        EXPECT_EQ(location.file + "|" + location.fallback + "|" + location.folder,
                  c.file + "|" + (c.file == beside ? "" : beside) + "|" + c.folder)
            << c.file;
        EXPECT_EQ(DefaultExportFolder("/opt/addrix", files, [] { return "/docs"; }),
                  c.exportFolder);
        EXPECT_EQ(DefaultExportFolder("/opt/addrix", files, [] { return ""; }), "/opt/addrix");
    }
}

TEST(SettingsLocationTest, ReadsTheUsersFileFirstAndWritesOnlyIt) {
    test::TempDir program;
    test::TempDir user;
    const std::string beside =
        program.write("addrix.INI", "[Settings]\r\nDebug=true\r\nExportFile=admin.csv\r\n");
    const std::string other = program.write("other.INI", "[Settings]\r\nExportFile=o.csv\r\n");
    const SettingsLocation location{beside, user.file("sub/addrix/addrix.INI"), beside,
                                    user.file("sub/addrix/")};
    IniFile files;
    SettingsIni ini(files, location);
    ASSERT_TRUE(MakeSettingsFolder(location));
    ASSERT_TRUE(ini.writeString("Settings", "ExportFile", "user.csv", beside));
    EXPECT_EQ(test::ReadFile(location.file), "[Settings]\r\nExportFile=user.csv\r\n");
    EXPECT_EQ(test::ReadFile(beside), "[Settings]\r\nDebug=true\r\nExportFile=admin.csv\r\n");
    const auto read = [&](const char* key, const std::string& file, std::size_t size = 1024) {
        return ini.readString("settings", key, "none", size, file);
    };
    EXPECT_EQ(read("exportfile", beside) + "|" + read("Debug", beside) + "|" +
                  read("IvroFile", beside) + "|" + read("ExportFile", beside, 4) + "|" +
                  read("ExportFile", other),
              "user.csv|true|none|use|o.csv");
    // An empty value in the user's file is a value, not a missing key.
    ASSERT_TRUE(ini.writeString("Settings", "Debug", "", beside));
    EXPECT_EQ(read("Debug", beside), "");
}

} // namespace
} // namespace addrix
