#include "app/logic/WizardStartup.h"

#include "app/logic/FileChoosers.h"
#include "app/logic/ManagerLaunch.h"
#include "export/IWizardForm.h"
#include "ivro/IvroBackupLocation.h"
#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "platform/StdFileSystem.h"
#include "settings/Settings.h"
#include "support/FakeRegistry.h"
#include "support/TestSupport.h"
#include "support/WizardFakes.h"

#include <gtest/gtest.h>

#include <ostream>

#include <filesystem>
#include <fstream>

namespace addrix {
namespace {

class LoadWizardChoicesTest : public ::testing::Test {
protected:
    test::TempDir programDir;
    test::FakeProgramLocation program{programDir.path(), "addrix"};
    StdFileSystem files;
    IniFile ini;
    test::FakeRegistry registry;
    FormValues form;
    Settings settings;

    void SetUp() override {
        form.emailIndex = 0;
        registry.setString(kShellFoldersKey, kPersonalValue, programDir.file("Documents"));
    }
    void writeSettings(const std::string& lines) {
        std::ofstream(SettingsFilePath(program), std::ios::binary) << "[Settings]\r\n" << lines;
    }
    void load() {
        LoadWizardChoices(form, settings, StartupServices{ini, program, files, registry});
    }
};

TEST_F(LoadWizardChoicesTest, FirstRunGetsEveryDefault) {
    load();
    EXPECT_EQ(form.dir, programDir.path());
    EXPECT_EQ(form.fileName, "NorvikaddressBook.csv");
    EXPECT_EQ(form.ivroFile, GetIvroBackupFile(registry));
    EXPECT_EQ(form.ivroFile.rfind(programDir.file("Documents"), 0), 0u) << form.ivroFile;
    EXPECT_EQ(form.autoDataPlug, 1);
    EXPECT_EQ(settings.DisplayGalder, "1");
    EXPECT_EQ(settings.KestleEXEFilePath, kNorvikMgrDefaultPath);
    EXPECT_FALSE(settings.NorvikEXEFilePath.empty());
    EXPECT_NE(form.maxRecordsCaption.find("250"), std::string::npos);
}

TEST_F(LoadWizardChoicesTest, StoredChoicesWin) {
    const std::string out = programDir.file("out");
    std::filesystem::create_directory(out);
    writeSettings("ExportPath=" + out + "\r\nExportFile=book.csv\r\nIvroFile=" +
                  programDir.file("my.adr") + "\r\nLaunchDataPlug=0\r\n");
    load();
    EXPECT_EQ(form.dir, out);
    // A stored name is kept although no such file exists.
    EXPECT_EQ(form.fileName, "book.csv");
    EXPECT_EQ(form.ivroFile, programDir.file("my.adr"));
    EXPECT_EQ(form.autoDataPlug, 0);
}

struct StaleDirCase {
    const char* name;
    const char* storedDir; // below the program folder; "" for an empty value
    bool create;           // whether it exists on disk
    bool asFile;           // created as a file rather than a folder
    bool kept;
};

void PrintTo(const StaleDirCase& c, std::ostream* os) {
    *os << c.name;
}

class StaleDirTest : public LoadWizardChoicesTest,
                     public ::testing::WithParamInterface<StaleDirCase> {};

TEST_P(StaleDirTest, ANameThatIsNothingOnDiskBecomesTheProgramFolder) {
    const StaleDirCase& c = GetParam();
    const std::string stored = *c.storedDir ? programDir.file(c.storedDir) : "";
    if (c.create && c.asFile)
        programDir.write(c.storedDir, "x");
    else if (c.create)
        std::filesystem::create_directory(stored);
    writeSettings("ExportPath=" + stored + "\r\n");
    load();
    EXPECT_EQ(form.dir, c.kept ? stored : programDir.path());
}

INSTANTIATE_TEST_SUITE_P(Folders, StaleDirTest,
                         ::testing::Values(StaleDirCase{"Empty", "", false, false, false},
                                           StaleDirCase{"Deleted", "gone", false, false, false},
                                           StaleDirCase{"Existing", "exports", true, false, true},
                                           // Anything on disk of that name will do, as the export
                                           // reports a bad folder itself.
                                           StaleDirCase{"AFile", "plain.txt", true, true, true}),
                         [](const ::testing::TestParamInfo<StaleDirCase>& info) {
                             return info.param.name;
                         });

struct CountTextCase {
    RecordCount count;
    const char* text;
};

void PrintTo(const CountTextCase& c, std::ostream* os) {
    *os << c.count;
}

class RecordsExportedTextTest : public ::testing::TestWithParam<CountTextCase> {};

TEST_P(RecordsExportedTextTest, SingularPluralOrNothing) {
    EXPECT_EQ(RecordsExportedText(GetParam().count), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Counts, RecordsExportedTextTest,
                         ::testing::Values(CountTextCase{1, "1 record exported."},
                                           CountTextCase{2, "2 records exported."},
                                           CountTextCase{250, "250 records exported."},
                                           CountTextCase{32767, "32767 records exported."},
                                           CountTextCase{0, ""}, CountTextCase{-1, ""},
                                           CountTextCase{-2, ""}),
                         [](const ::testing::TestParamInfo<CountTextCase>& info) {
                             const RecordCount n = info.param.count;
                             return (n < 0 ? "Minus" : "") + std::to_string(n < 0 ? -n : n);
                         });

TEST(ShowsGalder, OnlyZeroHidesTheGalderSource) {
    Settings settings;
    for (const char* value : {"1", "2", "-1", ""}) {
        settings.DisplayGalder = value;
        EXPECT_TRUE(ShowsGalder(settings)) << value;
    }
    settings.DisplayGalder = "0";
    EXPECT_FALSE(ShowsGalder(settings));
}

} // namespace
} // namespace addrix
