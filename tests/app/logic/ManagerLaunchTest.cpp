#include "app/logic/ManagerLaunch.h"
#include "platform/IFileDialog.h"
#include "platform/PathUtil.h"
#include "settings/Settings.h"
#include "support/ShellFakes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <ostream>
#include <set>
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

const std::string kSep(1, kPathSeparator);
const std::string kDefault = "C:\\Program Files\\Norvik\\Norvik Mgr\\NorvikMgr.exe";
const std::string kAlternative = "C:\\Program Files (x86)\\Norvik\\Norvik Mgr\\NorvikMgr.exe";
const std::string kProgramDir = kSep + "apps";
const std::string kStored = kSep + "opt" + kSep + "NorvikMgr.exe";
const std::string kLocated = kSep + "tools" + kSep + "NorvikMgr.exe";
const std::string kNotAProgram = kSep + "tools" + kSep + "readme.txt";

// ---- defaults at start-up ----

struct DefaultCase {
    const char* name;
    std::string stored; // both paths
    std::vector<std::string> files;
    std::string norvik;
    std::string kestle;
};

void PrintTo(const DefaultCase& c, std::ostream* os) {
    *os << c.name;
}

class ManagerPathDefaults : public ::testing::TestWithParam<DefaultCase> {};

TEST_P(ManagerPathDefaults, GiveBothPathsTheirDefaults) {
    const DefaultCase& c = GetParam();
    FakeFileSystem fs;
    fs.files.insert(c.files.begin(), c.files.end());
    fs.folders = {kProgramDir};
    Settings settings;
    settings.NorvikEXEFilePath = settings.KestleEXEFilePath = c.stored;
    CheckKestleMgrPath(settings, fs);
    CheckNorvikMgrPath(settings, fs);
    EXPECT_EQ(settings.NorvikEXEFilePath, c.norvik);
    EXPECT_EQ(settings.KestleEXEFilePath, c.kestle);
}

// The Kestle path never takes the alternative: it has no fallback.
INSTANTIATE_TEST_SUITE_P(
    Cases, ManagerPathDefaults,
    ::testing::Values(DefaultCase{"EmptyDefaultInstalled", "", {kDefault}, kDefault, kDefault},
                      DefaultCase{"EmptyNothingInstalled", "", {}, kAlternative, kDefault},
                      DefaultCase{"ExistingFileKept", kStored, {kStored}, kStored, kStored},
                      DefaultCase{"StoredFileGone", kStored, {kDefault}, kDefault, kDefault},
                      // A folder is no program, even when it exists.
                      DefaultCase{"StoredFolder", kProgramDir, {}, kAlternative, kDefault}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the launch ----

struct LaunchCase {
    const char* name;
    std::deque<bool> windowFound; // answers of the window search, in turn
    std::set<std::string> startable;
    std::deque<MsgAnswer> answers;
    std::deque<std::optional<std::string>> picks; // the locate dialog's answers
    std::vector<std::string> startAttempts;
    std::size_t questions;
    std::string kept; // NorvikEXEFilePath afterwards
    bool windowSystemBroken = false;
    std::string firstFolder = kStored; // where the first locate dialog opens
    std::string stored = kStored;
    std::string programDir = kProgramDir;
};

void PrintTo(const LaunchCase& c, std::ostream* os) {
    *os << c.name;
}

class LaunchNorvikMgrTest : public ::testing::TestWithParam<LaunchCase> {};

TEST_P(LaunchNorvikMgrTest, ActivatesStartsOrLocatesTheManager) {
    const LaunchCase& c = GetParam();
    FakeWindowActivator windows;
    windows.answers = c.windowFound;
    windows.throws = c.windowSystemBroken;
    FakeShell shell;
    shell.startable = c.startable;
    FakeMessageBox messages;
    messages.answers = c.answers;
    FakeFileDialog dialog;
    dialog.answers = c.picks;
    FakeFileSystem fs;
    fs.files = {kStored, kNotAProgram};
    fs.folders = {kProgramDir};
    FakeProgramLocation program{c.programDir, "addrix"};
    // The dialog as the output-file chooser left it.
    FileDialogRequest commonDialog1;
    commonDialog1.fileName = "NorvikaddressBook.csv";
    commonDialog1.pathMustExist = true;
    LaunchServices services{windows, shell, messages, dialog, commonDialog1, fs, program};
    Settings settings;
    settings.NorvikEXEFilePath = c.stored;

    LaunchNorvikMgr(settings, services);

    EXPECT_EQ(shell.startAttempts, c.startAttempts);
    EXPECT_EQ(settings.NorvikEXEFilePath, c.kept);
    ASSERT_EQ(messages.shown.size(), c.questions);
    for (const auto& box : messages.shown) {
        EXPECT_EQ(box.caption, "NorvikMgr.exe not found");
        EXPECT_EQ(box.text, "Unable to locate NorvikMgr.EXE.\r\nDo you want to help locate it.");
        EXPECT_EQ(box.buttons, MsgButtons::YesNo);
        EXPECT_EQ(box.icon, MsgIcon::Question);
    }
    // The window is looked for first and again for every file picked.
    const std::size_t picked = std::min(c.picks.size(), dialog.shown.size());
    EXPECT_EQ(windows.asked, std::vector<std::string>(1 + picked, "Norvik Manager"));
    // The dialog opens where the path last tried lies, and keeps the file
    // name and flag of the output chooser.
    for (std::size_t i = 0; i < dialog.shown.size(); ++i) {
        const FileDialogRequest& request = dialog.shown[i];
        EXPECT_EQ(request.kind, FileDialogRequest::Kind::Open);
        EXPECT_EQ(request.title, "Locate NorvikMgr.exe");
        EXPECT_EQ(request.filter, "Program File (*.exe)|*.exe");
        EXPECT_EQ(request.defaultExtension, "exe");
        EXPECT_EQ(request.initialDir, i == 0 ? c.firstFolder : *c.picks[i - 1]);
        EXPECT_EQ(request.fileName, i == 0 ? "NorvikaddressBook.csv" : *c.picks[i - 1]);
        EXPECT_TRUE(request.pathMustExist);
    }
}

const MsgAnswer Yes = MsgAnswer::Yes;
const MsgAnswer No = MsgAnswer::No;
const std::string kGone = kSep + "gone" + kSep + "NorvikMgr.exe";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, LaunchNorvikMgrTest, ::testing::Values(
    LaunchCase{"RunningManagerOnlyComesToTheFront", {true}, {kStored}, {}, {}, {}, 0, kStored},
    LaunchCase{"StartsTheStoredProgram", {}, {kStored}, {}, {}, {kStored}, 0, kStored},
    LaunchCase{"BrokenWindowSystemStillStarts", {}, {kStored}, {}, {}, {kStored}, 0, kStored, true},
    LaunchCase{"NoEndsSilently", {}, {}, {No}, {}, {kStored}, 1, kStored},
    LaunchCase{"CancelInTheDialogEndsSilently", {}, {}, {Yes}, {}, {kStored}, 1, kStored},
    LaunchCase{"LocatedProgramIsKept", {}, {kLocated}, {Yes}, {kLocated}, {kStored, kLocated}, 1,
               kLocated},
    // Located but never started: not kept.
    LaunchCase{"LocatedFileThatFailsAsksAgain", {}, {}, {Yes, Yes, No}, {kNotAProgram, kLocated},
               {kStored, kNotAProgram, kLocated}, 3, kStored},
    // The user started the manager by hand while the dialog was open.
    LaunchCase{"ManagerFoundAfterLocating", {false, true}, {}, {Yes}, {kLocated}, {kStored}, 1,
               kLocated},
    // Nothing at the stored path: the dialog opens in the program's folder.
    LaunchCase{"NothingStored", {}, {}, {Yes}, {}, {""}, 1, "", false, kProgramDir + kSep, ""},
    LaunchCase{"StoredPathGone", {}, {}, {Yes}, {}, {kGone}, 1, kGone, false, kProgramDir + kSep,
               kGone, kProgramDir + kSep},
    LaunchCase{"StoredFolder", {}, {}, {Yes}, {}, {kProgramDir}, 1, kProgramDir, false,
               kProgramDir, kProgramDir}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace
} // namespace addrix
