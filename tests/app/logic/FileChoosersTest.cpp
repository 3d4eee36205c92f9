#include "app/logic/FileChoosers.h"
#include "app/logic/ManagerLaunch.h"
#include "export/IWizardForm.h"
#include "ivro/IvroBackupLocation.h"
#include "platform/IFileDialog.h"
#include "platform/PathUtil.h"
#include "settings/Settings.h"
#include "support/FakeRegistry.h"
#include "support/ShellFakes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace addrix {
namespace {

using test::FakeFileDialog;
using test::FakeFileSystem;
using test::FakeMessageBox;
using test::FakeProgramLocation;
using test::FakeRegistry;
using test::FakeShell;
using test::FakeWindowActivator;

std::string Abs(std::initializer_list<const char*> parts) {
    std::string path;
    for (const char* part : parts)
        path += std::string(1, kPathSeparator) + part;
    return path;
}

const std::string kProgramDir = Abs({"apps", "addrix"});
const std::string kDocuments = Abs({"home", "ann", "Documents"});

class FileChoosersTest : public ::testing::Test {
protected:
    FormValues form;
    FileDialogRequest commonDialog1;
    FileDialogRequest commonDialog2;
    FakeFileDialog dialog;
    FakeRegistry registry;
    FakeFileSystem fs;
    FakeProgramLocation program{kProgramDir, "addrix"};
    FileChooserServices services{dialog, registry, fs, program};

    void SetUp() override {
        fs.folders = {kProgramDir, kDocuments, kDocuments + kPathSeparator};
        registry.setString(kShellFoldersKey, "Personal", kDocuments);
    }
};

// ---- output file ----

struct StartFolderCase {
    const char* name;
    std::string txtDir;
    std::optional<std::string> personal; // nothing: no such registry value
    std::string programDir;
    std::string expected;
};

// Names the case in test listings.
void PrintTo(const StartFolderCase& c, std::ostream* os) {
    *os << c.name;
}

class OutputStartFolder : public ::testing::TestWithParam<StartFolderCase> {};

TEST_P(OutputStartFolder, FollowsTheFolderBoxThenDocumentsThenProgram) {
    const StartFolderCase& c = GetParam();
    FormValues form;
    form.dir = c.txtDir;
    FakeRegistry registry;
    if (c.personal)
        registry.setString(kShellFoldersKey, "Personal", *c.personal);
    FakeFileSystem fs;
    fs.folders = {kProgramDir, kProgramDir + kPathSeparator, kDocuments,
                  Abs({"exports"}) + kPathSeparator};
    FakeProgramLocation program{c.programDir, "addrix"};
    FakeFileDialog dialog;
    FileChooserServices services{dialog, registry, fs, program};
    FileDialogRequest commonDialog1;

    cmdBrowseClick(form, commonDialog1, services);

    ASSERT_EQ(dialog.shown.size(), 1u);
    EXPECT_EQ(dialog.shown[0].initialDir, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutputStartFolder,
    ::testing::Values(
        StartFolderCase{"EmptyBoxUsesDocuments", "", kDocuments, kProgramDir, kDocuments},
        StartFolderCase{"EmptyBoxNoDocumentsValue", "", std::nullopt, kProgramDir, kProgramDir},
        StartFolderCase{"DocumentsFolderGone", "", Abs({"gone"}), kProgramDir,
                        kProgramDir + kPathSeparator},
        StartFolderCase{"FolderBoxUsed", Abs({"exports"}) + kPathSeparator, kDocuments, kProgramDir,
                        Abs({"exports"}) + kPathSeparator},
        StartFolderCase{"FolderBoxGone", Abs({"old", "place"}) + kPathSeparator, kDocuments,
                        kProgramDir, kProgramDir + kPathSeparator},
        StartFolderCase{"ProgramFolderSeparatorNotDoubled", Abs({"gone"}), kDocuments,
                        kProgramDir + kPathSeparator, kProgramDir + kPathSeparator}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileChoosersTest, OutputDialogIsASaveDialogForAddressFiles) {
    cmdBrowseClick(form, commonDialog1, services);

    ASSERT_EQ(dialog.shown.size(), 1u);
    const FileDialogRequest& request = dialog.shown[0];
    EXPECT_EQ(request.kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(request.title, "Select File Name");
    EXPECT_EQ(request.filter, "Address File (*.csv)|*.csv");
    EXPECT_EQ(request.defaultExtension, "csv");
    EXPECT_TRUE(request.pathMustExist);
}

struct SplitCase {
    const char* name;
    std::string chosen;
    std::string dir;
    std::string fileName;
};

// Names the case in test listings.
void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.name;
}

class OutputSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(OutputSplit, ChosenPathFillsFolderAndNameBoxes) {
    const SplitCase& c = GetParam();
    FormValues form;
    form.dir = kProgramDir;
    form.fileName = "old.csv";
    FakeRegistry registry;
    FakeFileSystem fs;
    fs.folders = {kProgramDir};
    FakeProgramLocation program{kProgramDir, "addrix"};
    FakeFileDialog dialog;
    dialog.answers = {c.chosen};
    FileChooserServices services{dialog, registry, fs, program};
    FileDialogRequest commonDialog1;

    cmdBrowseClick(form, commonDialog1, services);

    EXPECT_EQ(form.dir, c.dir);
    EXPECT_EQ(form.fileName, c.fileName);
    EXPECT_EQ(commonDialog1.fileName, c.chosen);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OutputSplit,
    ::testing::Values(SplitCase{"Nested", Abs({"Exports", "NorvikaddressBook.csv"}),
                                Abs({"Exports"}) + kPathSeparator, "NorvikaddressBook.csv"},
                      SplitCase{"Deep", Abs({"a", "b c", "list.csv"}),
                                Abs({"a", "b c"}) + kPathSeparator, "list.csv"},
                      SplitCase{"InRoot", Abs({"list.csv"}), std::string(1, kPathSeparator),
                                "list.csv"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileChoosersTest, CancelledOutputDialogChangesNothing) {
    form.dir = kDocuments;
    form.fileName = "NorvikaddressBook.csv";
    commonDialog1.fileName = Abs({"before.csv"});

    cmdBrowseClick(form, commonDialog1, services);

    EXPECT_EQ(dialog.shown.size(), 1u);
    EXPECT_EQ(form.dir, kDocuments);
    EXPECT_EQ(form.fileName, "NorvikaddressBook.csv");
    EXPECT_EQ(commonDialog1.fileName, Abs({"before.csv"}));
}

// The output chooser and the manager's locate step share CommonDialog1.
TEST_F(FileChoosersTest, LocateStepAndOutputChooserShareTheirDialog) {
    const std::string output = kDocuments + kPathSeparator + "NorvikaddressBook.csv";
    const std::string located = Abs({"tools", "NorvikMgr.exe"});
    dialog.answers = {output, located};
    cmdBrowseClick(form, commonDialog1, services);

    FakeWindowActivator windows;
    FakeShell shell;
    shell.startable = {located};
    FakeMessageBox messages;
    messages.answers = {MsgAnswer::Yes};
    Settings settings;
    settings.NorvikEXEFilePath = Abs({"missing", "NorvikMgr.exe"});
    LaunchServices launch{windows, shell, messages, dialog, commonDialog1, fs, program};
    LaunchNorvikMgr(settings, launch);

    ASSERT_EQ(dialog.shown.size(), 2u);
    EXPECT_EQ(dialog.shown[1].fileName, output);
    EXPECT_TRUE(dialog.shown[1].pathMustExist);
    EXPECT_EQ(dialog.shown[1].title, "Locate NorvikMgr.exe");

    // Browsing again after the launch sets the output dialog up afresh.
    cmdBrowseClick(form, commonDialog1, services);
    ASSERT_EQ(dialog.shown.size(), 3u);
    const FileDialogRequest& again = dialog.shown[2];
    EXPECT_EQ(again.kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(again.title, "Select File Name");
    EXPECT_EQ(again.filter, "Address File (*.csv)|*.csv");
    EXPECT_EQ(again.defaultExtension, "csv");
    EXPECT_EQ(again.fileName, located);
    EXPECT_EQ(form.fileName, "NorvikaddressBook.csv");
}

// ---- Ivro backup file ----

TEST_F(FileChoosersTest, IvroDialogStartsAtTheBoxAndTakesTheChoice) {
    const std::string current = kDocuments + kPathSeparator + "old.adr";
    const std::string chosen = kDocuments + kPathSeparator + "new.adr";
    form.ivroFile = current;
    dialog.answers = {chosen};

    cmdIvroBrowseClick(form, commonDialog2, services);

    ASSERT_EQ(dialog.shown.size(), 1u);
    const FileDialogRequest& request = dialog.shown[0];
    EXPECT_EQ(request.kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(request.title, "Select Ivro File");
    EXPECT_EQ(request.filter, "Address File (*.adr)|*.adr");
    EXPECT_EQ(request.defaultExtension, "adr");
    EXPECT_EQ(request.fileName, current);
    EXPECT_TRUE(request.pathMustExist);
    EXPECT_EQ(form.ivroFile, chosen);
}

TEST_F(FileChoosersTest, EmptyIvroBoxStartsAtTheProposedBackupFile) {
    cmdIvroBrowseClick(form, commonDialog2, services);

    ASSERT_EQ(dialog.shown.size(), 1u);
    const std::string proposed = GetIvroBackupFile(registry);
    EXPECT_NE(proposed.find("addressBook.adr"), std::string::npos);
    EXPECT_EQ(dialog.shown[0].fileName, proposed);
    EXPECT_EQ(form.ivroFile, ""); // cancelled: the box stays empty
}

TEST_F(FileChoosersTest, CancelledIvroDialogChangesNothing) {
    form.ivroFile = kDocuments + kPathSeparator + "mine.adr";
    form.dir = kDocuments;

    cmdIvroBrowseClick(form, commonDialog2, services);

    EXPECT_EQ(form.ivroFile, kDocuments + kPathSeparator + "mine.adr");
    EXPECT_EQ(form.dir, kDocuments);
    EXPECT_TRUE(commonDialog1.title.empty()); // the other dialog is not touched
}

// ---- help ----

struct HelpCase {
    HelpDocument document;
    const char* fileName;
};

// Names the case in test listings.
void PrintTo(const HelpCase& c, std::ostream* os) {
    *os << c.fileName;
}

class HelpDocuments : public ::testing::TestWithParam<HelpCase> {};

TEST_P(HelpDocuments, OpenTheDocumentBesideTheProgram) {
    const HelpCase& c = GetParam();
    FakeProgramLocation program{kProgramDir, "addrix"};
    FakeShell shell;
    const std::string expected = kProgramDir + kPathSeparator + c.fileName;

    EXPECT_EQ(HelpDocumentPath(c.document, program), expected);
    ShowHelpDocument(c.document, shell, program);
    EXPECT_EQ(shell.opened, std::vector<std::string>{expected});
    EXPECT_TRUE(shell.startAttempts.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, HelpDocuments,
                         ::testing::Values(HelpCase{HelpDocument::Galder, "GalderExporter.rtf"},
                                           HelpCase{HelpDocument::Ivro, "IvroExporter.rtf"},
                                           HelpCase{HelpDocument::Kestle, "KestletoNorvik.rtf"}));

struct GeneralHelpCase {
    const char* sourceTag;
    std::optional<HelpDocument> expected;
};

// Names the case in test listings.
void PrintTo(const GeneralHelpCase& c, std::ostream* os) {
    *os << '"' << c.sourceTag << '"';
}

class GeneralHelp : public ::testing::TestWithParam<GeneralHelpCase> {};

TEST_P(GeneralHelp, FollowsTheChosenSource) {
    const GeneralHelpCase& c = GetParam();
    FakeProgramLocation program{kProgramDir, "addrix"};
    FakeShell shell;

    EXPECT_EQ(GeneralHelpDocument(c.sourceTag), c.expected);
    cmdHelpClick(c.sourceTag, shell, program);
    if (c.expected)
        EXPECT_EQ(shell.opened, std::vector<std::string>{HelpDocumentPath(*c.expected, program)});
    else
        EXPECT_TRUE(shell.opened.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, GeneralHelp,
                         ::testing::Values(GeneralHelpCase{"Galder", HelpDocument::Galder},
                                           GeneralHelpCase{"galder", HelpDocument::Galder},
                                           GeneralHelpCase{"IVRO", HelpDocument::Ivro},
                                           GeneralHelpCase{"ivro", HelpDocument::Ivro},
                                           GeneralHelpCase{"kestle", std::nullopt},
                                           GeneralHelpCase{"", std::nullopt},
                                           GeneralHelpCase{"galder ", std::nullopt}));

TEST(HelpDocumentPathTest, ProgramFolderEndingInSeparatorGetsNoSecondOne) {
    FakeProgramLocation program{kProgramDir + kPathSeparator, "addrix"};
    EXPECT_EQ(HelpDocumentPath(HelpDocument::Ivro, program),
              kProgramDir + kPathSeparator + "IvroExporter.rtf");
}

} // namespace
} // namespace addrix
