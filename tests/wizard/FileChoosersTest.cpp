#include "wizard/FileChoosers.h"
#include "platform/IRegistry.h"
#include "platform/PathUtil.h"
#include "support/FakeRegistry.h"
#include "support/TestSupport.h"
#include "support/WizardFakes.h"

#include <gtest/gtest.h>

namespace addrix {
namespace {

const std::string kSep(1, kPathSeparator);
const std::string kProgramDir = kSep + "apps";
const std::string kDocuments = kSep + "Documents";
const std::string kExports = kSep + "exports" + kSep;

// The choosers around a form; the folders above exist.
struct ChooserRig : test::FakeWizardServices {
    FileDialogRequest commonDialog;

    ChooserRig(std::string programDir, std::optional<std::string> chosen)
        : FakeWizardServices(std::move(programDir)) {
        files.folders = {kProgramDir, kProgramDir + kSep, kDocuments, kExports};
        dialog.answers = {std::move(chosen)};
    }
    // The one request shown, every field of it.
    std::string shown() const {
        const FileDialogRequest& r = dialog.shown.at(0);
        return std::string(r.kind == FileDialogRequest::Kind::Save ? "save|" : "open|") + r.title +
               "|" + r.filter + "|" + r.defaultExtension +
               (r.pathMustExist ? "|must exist|" : "|") + r.initialDir + "|" + r.fileName;
    }
};

TEST(OutputChooser, StartsInTheRightFolderAndSplitsTheChoice) {
    const std::string nested = kSep + "a" + kSep + "b c" + kSep;
    const std::string apps = kProgramDir + kSep;
    const std::string old = kSep + "old";
    // The box, the Documents folder (nothing: no such registry value), the program's
    // folder, where the dialog starts, the choice (nothing: cancelled), the boxes afterwards.
    using Opt = std::optional<std::string>;
    using Case = std::tuple<std::string, Opt, std::string, std::string, Opt, std::string>;
    const Case cases[] = {
        {"", kDocuments, kProgramDir, kDocuments, nested + "list.csv", nested + "|list.csv"},
        {"", std::nullopt, kProgramDir, kProgramDir, kSep + "list.csv", kSep + "|list.csv"},
        {"", kSep + "gone", kProgramDir, apps, std::nullopt, "|old.csv"},
        {kExports, kDocuments, kProgramDir, kExports, std::nullopt, kExports + "|old.csv"},
        // A program folder that ends in a separator gets no second one.
        {old, kDocuments, apps, apps, std::nullopt, old + "|old.csv"},
    };
    for (const auto& [txtDir, personal, programDir, startFolder, choice, boxes] : cases) {
        SCOPED_TRACE("box " + txtDir + ", start " + startFolder);
        ChooserRig rig(programDir, choice);
        if (personal)
            rig.registry.setString(kShellFoldersKey, kPersonalValue, *personal);
        // The name the manager's locate step left in the shared dialog stays.
        rig.commonDialog.fileName = "NorvikMgr.exe";
        const auto chosen = cmdBrowseClick(txtDir, rig.commonDialog, rig.services);
        EXPECT_EQ(rig.shown(), "save|Select File Name|Address File (*.csv)|*.csv|csv|must exist|" +
                                   startFolder + "|NorvikMgr.exe");
        EXPECT_EQ(chosen ? chosen->dir + "|" + chosen->fileName : txtDir + "|old.csv", boxes);
    }
}

TEST(IvroChooser, StartsAtTheBoxOrTheProposedFileAndTakesTheChoice) {
    const std::string dialog = "open|Select Ivro File|Address File (*.adr)|*.adr|adr|must exist||";
    const std::string old = kDocuments + kSep + "old.adr";
    ChooserRig cancelled(kProgramDir, std::nullopt);
    EXPECT_FALSE(cmdIvroBrowseClick(old, cancelled.commonDialog, cancelled.services));
    EXPECT_EQ(cancelled.shown(), dialog + old);

    ChooserRig rig(kProgramDir, kDocuments + kSep + "new.adr");
    rig.registry.setString(kShellFoldersKey, kPersonalValue, kDocuments);
    EXPECT_EQ(cmdIvroBrowseClick("", rig.commonDialog, rig.services).value_or("none"),
              kDocuments + kSep + "new.adr");
    EXPECT_EQ(rig.shown(), dialog + kDocuments + kSep + "addressBook.adr");
}

// The documents beside the program are copies of their RTF sources.
TEST(HelpDocuments, LieBesideTheProgram) {
    for (const auto document : {HelpDocument::Galder, HelpDocument::Ivro, HelpDocument::Kestle}) {
        const std::string name = HelpDocumentName(document);
        const std::string source = test::ReadFile(std::string(ADDRIX_HELP_SOURCE_DIR) + "/" + name);
        EXPECT_EQ(source.rfind("{\\rtf1", 0), 0u) << name;
        EXPECT_EQ(test::ReadFile(std::string(ADDRIX_RUNTIME_DIR) + "/" + name), source);
    }
}

} // namespace
} // namespace addrix
