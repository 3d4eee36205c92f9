#include "app/logic/FileChoosers.h"

#include "export/IWizardForm.h"
#include "ivro/IvroBackupLocation.h"
#include "platform/IFileDialog.h"
#include "platform/IFileSystem.h"
#include "platform/IShell.h"
#include "platform/PathUtil.h"

namespace addrix {

std::string OutputBrowseStartFolder(const IWizardForm& wizard, const IRegistry& registry,
                                    const IFileSystem& files, const IProgramLocation& program) {
    std::string startFolder = wizard.txtDir();
    if (startFolder.empty()) {
        startFolder = ReadRegistryValue(registry, kShellFoldersKey, kPersonalValue);
        if (startFolder == kNotFound)
            startFolder = program.programDir();
    }
    if (!files.pathExists(startFolder))
        startFolder = WithTrailingSeparator(program.programDir());
    return startFolder;
}

void cmdBrowseClick(IWizardForm& wizard, FileDialogRequest& commonDialog1,
                    FileChooserServices& services) {
    const std::string startFolder =
        OutputBrowseStartFolder(wizard, services.registry, services.files, services.program);

    // The file name stays as the last showing left it, as the dialog is shared
    // with the locate step of the manager launch.
    commonDialog1.kind = FileDialogRequest::Kind::Save;
    commonDialog1.defaultExtension = "csv";
    commonDialog1.title = "Select File Name";
    commonDialog1.initialDir = startFolder;
    commonDialog1.filter = "Address File (*.csv)|*.csv";
    commonDialog1.pathMustExist = true;
    const std::optional<std::string> chosen = services.dialog.show(commonDialog1);
    if (!chosen)
        return;
    commonDialog1.fileName = *chosen;

    const std::string name = FileNamePart(*chosen);
    wizard.setTxtFileName(name);
    wizard.setTxtDir(chosen->substr(0, chosen->size() - name.size()));
}

void cmdIvroBrowseClick(IWizardForm& wizard, FileDialogRequest& commonDialog2,
                        FileChooserServices& services) {
    std::string startFile = wizard.txtIvroFile();
    if (startFile.empty())
        startFile = GetIvroBackupFile(services.registry);

    commonDialog2.kind = FileDialogRequest::Kind::Open;
    commonDialog2.defaultExtension = "adr";
    commonDialog2.title = "Select Ivro File";
    commonDialog2.fileName = startFile;
    commonDialog2.filter = "Address File (*.adr)|*.adr";
    // Only the folder has to exist: whether the file does is checked on Next.
    commonDialog2.pathMustExist = true;
    const std::optional<std::string> chosen = services.dialog.show(commonDialog2);
    if (!chosen)
        return;
    commonDialog2.fileName = *chosen;
    wizard.setTxtIvroFile(*chosen);
}

const char* HelpDocumentName(HelpDocument document) {
    switch (document) {
    case HelpDocument::Galder:
        return "GalderExporter.rtf";
    case HelpDocument::Ivro:
        return "IvroExporter.rtf";
    case HelpDocument::Kestle:
        return "KestletoNorvik.rtf";
    }
    return "";
}

std::string HelpDocumentPath(HelpDocument document, const IProgramLocation& program) {
    return WithTrailingSeparator(program.programDir()) + HelpDocumentName(document);
}

void ShowHelpDocument(HelpDocument document, IShell& shell, const IProgramLocation& program) {
    // Nothing to tell the user when the document is missing or will not open.
    (void)shell.openDocument(HelpDocumentPath(document, program));
}

} // namespace addrix
