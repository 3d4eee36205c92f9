#include "wizard/ManagerLaunch.h"
#include "platform/PathUtil.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"
#include "support/WizardFakes.h"

#include <gtest/gtest.h>

namespace addrix {
namespace {

const std::string kSep(1, kPathSeparator);
const std::string kDefault = "C:\\Program Files\\Norvik\\Norvik Mgr\\NorvikMgr.exe";
const std::string kAlternative = "C:\\Program Files (x86)\\Norvik\\Norvik Mgr\\NorvikMgr.exe";
const std::string kProgramDir = kSep + "apps";
const std::string kStored = kSep + "opt" + kSep + "NorvikMgr.exe";
const std::string kLocated = kSep + "tools" + kSep + "NorvikMgr.exe";
const std::string kNotAProgram = kSep + "tools" + kSep + "readme.txt";
const std::string kGone = kSep + "gone" + kSep + "NorvikMgr.exe";

TEST(ManagerPaths, GetTheirDefaultsWhenTheyNameNoFile) {
    // Both stored paths, the files that exist, the Norvik and Kestle paths afterwards.
    using Case = std::tuple<std::string, std::set<std::string>, std::string, std::string>;
    const Case cases[] = {{"", {kDefault}, kDefault, kDefault},
                          {"", {}, kAlternative, kDefault}, // the Kestle path has no fallback
                          {kStored, {kStored}, kStored, kStored},
                          {kProgramDir, {}, kAlternative, kDefault}}; // a folder is no program
    for (const auto& [stored, files, norvik, kestle] : cases) {
        test::FakeFileSystem fs;
        fs.files = files;
        fs.folders = {kProgramDir};
        Settings settings;
        settings.NorvikEXEFilePath = settings.KestleEXEFilePath = stored;
        CheckKestleMgrPath(settings, fs);
        CheckNorvikMgrPath(settings, fs);
        EXPECT_EQ(settings.NorvikEXEFilePath + " " + settings.KestleEXEFilePath,
                  norvik + " " + kestle);
    }
}

struct LaunchCase {
    const char* name;
    bool running; // a manager window is found at first
    std::set<std::string> startable;
    std::deque<MsgAnswer> answers;                // one for every question expected
    std::deque<std::optional<std::string>> picks; // the locate dialog's answers
    std::vector<std::string> startAttempts;
    std::string kept; // NorvikEXEFilePath afterwards
    std::string stored = kStored;
    std::string firstFolder = kStored; // where the first locate dialog opens
    bool windowSystemBroken = false;
};

const std::string kQuestion =
    "NorvikMgr.exe not found|Unable to locate NorvikMgr.EXE.\r\nDo you want to help locate it.";
const MsgAnswer Yes = MsgAnswer::Yes;
const MsgAnswer No = MsgAnswer::No;

// clang-format off
const LaunchCase kLaunchCases[] = {
    {"running manager only comes to the front", true, {kStored}, {}, {}, {}, kStored},
    {"stored program started, a broken window system finding none", false, {kStored}, {}, {},
     {kStored}, kStored, kStored, kStored, true},
    {"No ends silently", false, {}, {No}, {}, {kStored}, kStored},
    {"cancel in the dialog ends silently", false, {}, {Yes}, {}, {kStored}, kStored},
    {"a located file that fails asks again", false, {kLocated}, {Yes, Yes},
     {kNotAProgram, kLocated}, {kStored, kNotAProgram, kLocated}, kLocated},
    // Nothing at the stored path: the dialog opens in the program's folder.
    {"stored path gone", false, {}, {Yes}, {}, {kGone}, kGone, kGone, kProgramDir + kSep},
};
// clang-format on

TEST(LaunchNorvikMgr, ActivatesStartsOrLocatesTheManager) {
    for (const LaunchCase& c : kLaunchCases) {
        SCOPED_TRACE(c.name);
        test::FakeWizardServices fakes(kProgramDir);
        test::FakeWindowActivator& windows = fakes.windows;
        test::FakeShell& shell = fakes.shell;
        test::FakeMessageBox& messages = fakes.messages;
        test::FakeFileDialog& dialog = fakes.dialog;
        Settings& settings = fakes.settings;
        windows.answers = {c.running};
        windows.throws = c.windowSystemBroken;
        shell.startable = c.startable;
        messages.answers = c.answers;
        dialog.answers = c.picks;
        fakes.files.files = {kStored, kNotAProgram};
        fakes.files.folders = {kProgramDir};
        // The dialog as the output-file chooser left it.
        FileDialogRequest shared;
        shared.fileName = "NorvikaddressBook.csv";
        shared.pathMustExist = true;
        settings.NorvikEXEFilePath = c.stored;

        LaunchNorvikMgr(fakes.services, shared);

        EXPECT_EQ(windows.asked.at(0), "Norvik Manager");
        EXPECT_EQ(shell.startAttempts, c.startAttempts);
        EXPECT_EQ(settings.NorvikEXEFilePath, c.kept);
        ASSERT_EQ(messages.shown.size(), c.answers.size());
        for (const auto& box : messages.shown)
            EXPECT_TRUE(box.caption + "|" + box.text == kQuestion &&
                        box.buttons == MsgButtons::YesNo && box.icon == MsgIcon::Question);
        // The dialog opens where the path last tried lies, and keeps the file
        // name and flag of the output chooser.
        for (std::size_t i = 0; i < dialog.shown.size(); ++i) {
            const FileDialogRequest& r = dialog.shown[i];
            EXPECT_TRUE(r.kind == FileDialogRequest::Kind::Open && r.pathMustExist);
            EXPECT_EQ(r.title + "|" + r.filter + "|" + r.defaultExtension + "|" + r.initialDir +
                          "|" + r.fileName,
                      "Locate NorvikMgr.exe|Program File (*.exe)|*.exe|exe|" +
                          (i == 0 ? c.firstFolder + "|NorvikaddressBook.csv"
                                  : *c.picks[i - 1] + "|" + *c.picks[i - 1]));
        }
    }
}

} // namespace
} // namespace addrix
