#include "app/logic/ManagerLaunch.h"
#include "platform/IFileDialog.h"
#include "platform/PathUtil.h"
#include "settings/Settings.h"
#include "support/ShellFakes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace addrix {
namespace {

using test::FakeFileDialog;
using test::FakeFileSystem;
using test::FakeMessageBox;
using test::FakeProgramLocation;
using test::FakeShell;
using test::FakeWindowActivator;

// An absolute path of this system built from its parts.
std::string Abs(std::initializer_list<const char*> parts) {
    std::string path;
    for (const char* part : parts)
        path += std::string(1, kPathSeparator) + part;
    return path;
}

const std::string kDefault = "C:\\Program Files\\Norvik\\Norvik Mgr\\NorvikMgr.exe";
const std::string kAlternative = "C:\\Program Files (x86)\\Norvik\\Norvik Mgr\\NorvikMgr.exe";

// ---- defaults at start-up ----

struct DefaultCase {
    const char* name;
    std::string stored;
    std::vector<std::string> files;   // ordinary files that exist
    std::vector<std::string> folders; // folders that exist
    std::string expectedNorvik;
    std::string expectedKestle;
};

// Names the case in test listings.
void PrintTo(const DefaultCase& c, std::ostream* os) {
    *os << c.name;
}

class ManagerPathDefaults : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(ManagerPathDefaults, GiveBothPathsTheirDefaults) {
    const DefaultCase& c = GetParam();
    FakeFileSystem fs;
    fs.files.insert(c.files.begin(), c.files.end());
    fs.folders.insert(c.folders.begin(), c.folders.end());
    Settings settings;
    settings.NorvikEXEFilePath = c.stored;
    settings.KestleEXEFilePath = c.stored;

    CheckKestleMgrPath(settings, fs);
    CheckNorvikMgrPath(settings, fs);

    EXPECT_EQ(settings.NorvikEXEFilePath, c.expectedNorvik);
    EXPECT_EQ(settings.KestleEXEFilePath, c.expectedKestle);
}

const std::string kElsewhere = Abs({"opt", "norvik", "NorvikMgr.exe"});

INSTANTIATE_TEST_SUITE_P(
    Cases, ManagerPathDefaults,
    ::testing::Values(
        DefaultCase{"EmptyDefaultInstalled", "", {kDefault}, {}, kDefault, kDefault},
        // The Kestle path never takes the alternative: it has no fallback.
        DefaultCase{"EmptyNothingInstalled", "", {}, {}, kAlternative, kDefault},
        DefaultCase{
            "EmptyOnlyAlternativeInstalled", "", {kAlternative}, {}, kAlternative, kDefault},
        DefaultCase{
            "ExistingFileElsewhereKept", kElsewhere, {kElsewhere}, {}, kElsewhere, kElsewhere},
        DefaultCase{"StoredFileGone", kElsewhere, {kDefault}, {}, kDefault, kDefault},
        DefaultCase{"StoredFileGoneNothingInstalled", kElsewhere, {}, {}, kAlternative, kDefault},
        // A folder is no program, even when it exists.
        DefaultCase{
            "StoredFolderIsNoFile", Abs({"opt"}), {}, {Abs({"opt"})}, kAlternative, kDefault}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the launch ----

class LaunchNorvikMgrTest : public ::testing::Test {
protected:
    const std::string programDir = Abs({"apps", "addrix"});
    const std::string stored = Abs({"opt", "norvik", "NorvikMgr.exe"});
    const std::string located = Abs({"tools", "NorvikMgr.exe"});

    FakeWindowActivator windows;
    FakeShell shell;
    FakeMessageBox messages;
    FakeFileDialog dialog;
    FileDialogRequest commonDialog1;
    FakeFileSystem fs;
    FakeProgramLocation program{programDir, "addrix"};
    Settings settings;
    LaunchServices services{windows, shell, messages, dialog, commonDialog1, fs, program};

    void SetUp() override { settings.NorvikEXEFilePath = stored; }

    void ExpectQuestion(std::size_t index) {
        ASSERT_LT(index, messages.shown.size());
        const auto& box = messages.shown[index];
        EXPECT_EQ(box.caption, "NorvikMgr.exe not found");
        EXPECT_EQ(box.text, "Unable to locate NorvikMgr.EXE.\r\nDo you want to help locate it.");
        EXPECT_EQ(box.buttons, MsgButtons::YesNo);
        EXPECT_EQ(box.icon, MsgIcon::Question);
    }
};

TEST_F(LaunchNorvikMgrTest, RunningManagerIsBroughtToTheFrontOnly) {
    windows.running.insert("Norvik Manager");
    shell.startable.insert(stored);

    LaunchNorvikMgr(settings, services);

    EXPECT_EQ(windows.asked, std::vector<std::string>{"Norvik Manager"});
    EXPECT_TRUE(shell.startAttempts.empty());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(settings.NorvikEXEFilePath, stored);
}

TEST_F(LaunchNorvikMgrTest, StartsTheStoredProgramWhenNoWindowAnswers) {
    shell.startable.insert(stored);

    LaunchNorvikMgr(settings, services);

    EXPECT_EQ(shell.started, std::vector<std::string>{stored});
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(dialog.shown.empty());
}

TEST_F(LaunchNorvikMgrTest, BrokenWindowSystemStillStartsTheProgram) {
    windows.throws = true;
    shell.startable.insert(stored);

    LaunchNorvikMgr(settings, services);

    EXPECT_EQ(shell.started, std::vector<std::string>{stored});
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LaunchNorvikMgrTest, NoEndsSilentlyWithThePathUnchanged) {
    messages.answers = {MsgAnswer::No};

    LaunchNorvikMgr(settings, services);

    ASSERT_EQ(messages.shown.size(), 1u);
    ExpectQuestion(0);
    EXPECT_TRUE(dialog.shown.empty());
    EXPECT_TRUE(shell.started.empty());
    EXPECT_EQ(settings.NorvikEXEFilePath, stored);
}

TEST_F(LaunchNorvikMgrTest, LocatedProgramThatStartsIsKept) {
    messages.answers = {MsgAnswer::Yes};
    dialog.answers = {located};
    shell.startable.insert(located);

    LaunchNorvikMgr(settings, services);

    ASSERT_EQ(dialog.shown.size(), 1u);
    const FileDialogRequest& request = dialog.shown[0];
    EXPECT_EQ(request.kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(request.title, "Locate NorvikMgr.exe");
    EXPECT_EQ(request.filter, "Program File (*.exe)|*.exe");
    EXPECT_EQ(request.defaultExtension, "exe");
    // The window is looked for again before the located program is started.
    EXPECT_EQ(windows.asked.size(), 2u);
    EXPECT_EQ(shell.startAttempts, (std::vector<std::string>{stored, located}));
    EXPECT_EQ(shell.started, std::vector<std::string>{located});
    EXPECT_EQ(settings.NorvikEXEFilePath, located);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(LaunchNorvikMgrTest, KeptPathStartsNextTimeWithoutAsking) {
    messages.answers = {MsgAnswer::Yes};
    dialog.answers = {located};
    shell.startable.insert(located);
    LaunchNorvikMgr(settings, services);

    LaunchNorvikMgr(settings, services);

    EXPECT_EQ(shell.started, (std::vector<std::string>{located, located}));
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(dialog.shown.size(), 1u);
}

TEST_F(LaunchNorvikMgrTest, LocatedFileThatFailsAsksAgain) {
    const std::string notAProgram = Abs({"tools", "readme.txt"});
    messages.answers = {MsgAnswer::Yes, MsgAnswer::Yes, MsgAnswer::No};
    dialog.answers = {notAProgram, located};
    fs.files.insert(notAProgram);

    LaunchNorvikMgr(settings, services);

    ASSERT_EQ(messages.shown.size(), 3u);
    for (std::size_t i = 0; i < messages.shown.size(); ++i)
        ExpectQuestion(i);
    EXPECT_EQ(shell.startAttempts, (std::vector<std::string>{stored, notAProgram, located}));
    ASSERT_EQ(dialog.shown.size(), 2u);
    // The second search starts at the file that was chosen, as it exists.
    EXPECT_EQ(dialog.shown[1].initialDir, notAProgram);
    // Located but never started: not kept.
    EXPECT_EQ(settings.NorvikEXEFilePath, stored);
}

TEST_F(LaunchNorvikMgrTest, CancelInTheDialogChangesNothing) {
    messages.answers = {MsgAnswer::Yes};
    commonDialog1.fileName = Abs({"exports", "NorvikaddressBook.csv"});

    LaunchNorvikMgr(settings, services);

    EXPECT_EQ(dialog.shown.size(), 1u);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(shell.startAttempts, std::vector<std::string>{stored});
    EXPECT_EQ(settings.NorvikEXEFilePath, stored);
    EXPECT_EQ(commonDialog1.fileName, Abs({"exports", "NorvikaddressBook.csv"}));
}

TEST_F(LaunchNorvikMgrTest, ManagerFoundAfterLocatingKeepsTheLocatedPath) {
    messages.answers = {MsgAnswer::Yes};
    dialog.answers = {located};
    // The user started the manager by hand while the dialog was open.
    windows.answers = {false, true};

    LaunchNorvikMgr(settings, services);

    EXPECT_EQ(shell.startAttempts, std::vector<std::string>{stored});
    EXPECT_EQ(settings.NorvikEXEFilePath, located);
}

struct InitialFolderCase {
    const char* name;
    std::string programDir;
    bool storedExistsAsFile;
    bool storedExistsAsFolder;
    std::string expected; // "" = the stored path itself
};

// Names the case in test listings.
void PrintTo(const InitialFolderCase& c, std::ostream* os) {
    *os << c.name;
}

class LocateInitialFolder : public ::testing::TestWithParam<InitialFolderCase> {};

TEST_P(LocateInitialFolder, StartsWhereTheProgramMayBe) {
    const InitialFolderCase& c = GetParam();
    const std::string stored = Abs({"opt", "norvik", "NorvikMgr.exe"});
    FakeWindowActivator windows;
    FakeShell shell;
    FakeMessageBox messages;
    messages.answers = {MsgAnswer::Yes};
    FakeFileDialog dialog;
    FileDialogRequest commonDialog1;
    FakeFileSystem fs;
    if (c.storedExistsAsFile)
        fs.files.insert(stored);
    if (c.storedExistsAsFolder)
        fs.folders.insert(stored);
    FakeProgramLocation program{c.programDir, "addrix"};
    LaunchServices services{windows, shell, messages, dialog, commonDialog1, fs, program};
    Settings settings;
    settings.NorvikEXEFilePath = stored;

    LaunchNorvikMgr(settings, services);

    ASSERT_EQ(dialog.shown.size(), 1u);
    EXPECT_EQ(dialog.shown[0].initialDir, c.expected.empty() ? stored : c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LocateInitialFolder,
    ::testing::Values(InitialFolderCase{"StoredFileExists", Abs({"apps"}), true, false, ""},
                      InitialFolderCase{"StoredFolderExists", Abs({"apps"}), false, true, ""},
                      InitialFolderCase{"NothingThereUsesProgramFolder", Abs({"apps"}), false,
                                        false, Abs({"apps"}) + kPathSeparator},
                      InitialFolderCase{"ProgramFolderSeparatorNotDoubled",
                                        Abs({"apps"}) + kPathSeparator, false, false,
                                        Abs({"apps"}) + kPathSeparator}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LaunchNorvikMgrTest, EmptyStoredPathAsksAndOpensInTheProgramFolder) {
    settings.NorvikEXEFilePath.clear();
    messages.answers = {MsgAnswer::Yes};

    LaunchNorvikMgr(settings, services);

    ExpectQuestion(0);
    ASSERT_EQ(dialog.shown.size(), 1u);
    EXPECT_EQ(dialog.shown[0].initialDir, programDir + kPathSeparator);
    EXPECT_EQ(settings.NorvikEXEFilePath, "");
}

} // namespace
} // namespace addrix
