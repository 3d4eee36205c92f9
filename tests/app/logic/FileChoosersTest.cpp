#include "app/logic/FileChoosers.h"
#include "export/IWizardForm.h"
#include "ivro/IvroBackupLocation.h"
#include "platform/IFileDialog.h"
#include "platform/PathUtil.h"
#include "support/FakeRegistry.h"
#include "support/ShellFakes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace addrix {
namespace {

using test::FakeFileDialog;
using test::FakeFileSystem;
using test::FakeProgramLocation;
using test::FakeRegistry;

const std::string kSep(1, kPathSeparator);
const std::string kProgramDir = kSep + "apps";
const std::string kDocuments = kSep + "Documents";
const std::string kExports = kSep + "exports" + kSep;

// The choosers around a form, with the documents folder in the registry.
struct ChooserRig {
    FormValues form;
    FileDialogRequest commonDialog1;
    FileDialogRequest commonDialog2;
    FakeFileDialog dialog;
    FakeRegistry registry;
    FakeFileSystem fs;
    FakeProgramLocation program;
    FileChooserServices services{dialog, registry, fs, program};

    explicit ChooserRig(std::string programDir = kProgramDir)
        : program(std::move(programDir), "addrix") {
        fs.folders = {kProgramDir, kProgramDir + kSep, kDocuments, kExports};
        registry.setString(kShellFoldersKey, "Personal", kDocuments);
    }
};

// ---- output file ----

struct OutputCase {
    const char* name;
    std::string txtDir;
    std::optional<std::string> personal; // nothing: no such registry value
    std::string programDir;
    std::string startFolder;
    std::optional<std::string> chosen; // nothing: cancelled
    std::string dir;                   // txtDir afterwards
    std::string fileName;              // txtFileName afterwards
};

void PrintTo(const OutputCase& c, std::ostream* os) {
    *os << c.name;
}

class OutputChooser : public ::testing::TestWithParam<OutputCase> {};

TEST_P(OutputChooser, StartsInTheRightFolderAndSplitsTheChoice) {
    const OutputCase& c = GetParam();
    ChooserRig rig(c.programDir);
    rig.registry.values.clear();
    if (c.personal)
        rig.registry.setString(kShellFoldersKey, "Personal", *c.personal);
    rig.form.dir = c.txtDir;
    rig.form.fileName = "old.csv";
    // As the manager's locate step may have left the shared dialog.
    rig.commonDialog1 = {FileDialogRequest::Kind::Open,
                         "Locate NorvikMgr.exe",
                         "Program File (*.exe)|*.exe",
                         "exe",
                         "",
                         "NorvikMgr.exe",
                         false};
    rig.dialog.answers = {c.chosen};
    cmdBrowseClick(rig.form, rig.commonDialog1, rig.services);

    ASSERT_EQ(rig.dialog.shown.size(), 1u);
    const FileDialogRequest& request = rig.dialog.shown[0];
    EXPECT_EQ(request.initialDir, c.startFolder);
    EXPECT_EQ(request.kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(request.title, "Select File Name");
    EXPECT_EQ(request.filter, "Address File (*.csv)|*.csv");
    EXPECT_EQ(request.defaultExtension, "csv");
    EXPECT_TRUE(request.pathMustExist);
    EXPECT_EQ(request.fileName, "NorvikMgr.exe"); // the name stays as it was left
    EXPECT_EQ(rig.form.dir, c.dir);
    EXPECT_EQ(rig.form.fileName, c.fileName);
    EXPECT_TRUE(rig.commonDialog2.title.empty()); // the other dialog is not touched
}

const std::string kNested = kSep + "a" + kSep + "b c" + kSep;

INSTANTIATE_TEST_SUITE_P(
    Cases, OutputChooser,
    ::testing::Values(OutputCase{"EmptyBoxUsesDocuments", "", kDocuments, kProgramDir, kDocuments,
                                 kNested + "list.csv", kNested, "list.csv"},
                      OutputCase{"EmptyBoxNoDocumentsValue", "", std::nullopt, kProgramDir,
                                 kProgramDir, kSep + "list.csv", kSep, "list.csv"},
                      OutputCase{"DocumentsFolderGone", "", kSep + "gone", kProgramDir,
                                 kProgramDir + kSep, std::nullopt, "", "old.csv"},
                      OutputCase{"FolderBoxUsed", kExports, kDocuments, kProgramDir, kExports,
                                 std::nullopt, kExports, "old.csv"},
                      OutputCase{"FolderBoxGone", kSep + "old", kDocuments, kProgramDir,
                                 kProgramDir + kSep, std::nullopt, kSep + "old", "old.csv"},
                      OutputCase{"SeparatorNotDoubled", kSep + "old", kDocuments,
                                 kProgramDir + kSep, kProgramDir + kSep, std::nullopt, kSep + "old",
                                 "old.csv"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Ivro backup file ----

struct IvroCase {
    const char* name;
    std::string box;
    std::optional<std::string> chosen;
    std::string startFile; // "" = the proposed backup file
    std::string result;
};

void PrintTo(const IvroCase& c, std::ostream* os) {
    *os << c.name;
}

class IvroChoice : public ::testing::TestWithParam<IvroCase> {};

TEST_P(IvroChoice, StartsAtTheBoxAndTakesTheChoice) {
    const IvroCase& c = GetParam();
    ChooserRig rig;
    rig.form.ivroFile = c.box;
    rig.dialog.answers = {c.chosen};
    cmdIvroBrowseClick(rig.form, rig.commonDialog2, rig.services);

    ASSERT_EQ(rig.dialog.shown.size(), 1u);
    const FileDialogRequest& request = rig.dialog.shown[0];
    EXPECT_EQ(request.kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(request.title, "Select Ivro File");
    EXPECT_EQ(request.filter, "Address File (*.adr)|*.adr");
    EXPECT_EQ(request.defaultExtension, "adr");
    EXPECT_TRUE(request.pathMustExist);
    EXPECT_EQ(request.fileName,
              c.startFile.empty() ? GetIvroBackupFile(rig.registry) : c.startFile);
    EXPECT_EQ(rig.form.ivroFile, c.result);
    EXPECT_TRUE(rig.commonDialog1.title.empty());
}

const std::string kOld = kDocuments + kSep + "old.adr";
const std::string kNew = kDocuments + kSep + "new.adr";

INSTANTIATE_TEST_SUITE_P(Cases, IvroChoice,
                         ::testing::Values(IvroCase{"Chosen", kOld, kNew, kOld, kNew},
                                           IvroCase{"Cancelled", kOld, std::nullopt, kOld, kOld},
                                           IvroCase{"EmptyBoxStartsAtTheProposedFile", "", kNew, "",
                                                    kNew}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace addrix
