#include "wizard/FileChoosers.h"

#include "platform/IFileDialog.h"
#include "platform/IFileSystem.h"
#include "platform/IRegistry.h"
#include "platform/IShell.h"
#include "platform/PathUtil.h"
#include "sources/ivro/IvroBackupLocation.h"
#include "wizard/WizardServices.h"

namespace addrix {

std::string DocumentsFolder(const IRegistry& registry) {
    const std::string folder = ReadRegistryValue(registry, kShellFoldersKey, kPersonalValue);
    return folder == kNotFound ? std::string() : folder;
}

std::string OutputBrowseStartFolder(const std::string& txtDir, const IRegistry& registry,
                                    const IFileSystem& files, const IProgramLocation& program) {
    std::string startFolder = txtDir;
    if (startFolder.empty()) {
        startFolder = ReadRegistryValue(registry, kShellFoldersKey, kPersonalValue);
        if (startFolder == kNotFound)
            startFolder = program.programDir();
    }
    if (!files.pathExists(startFolder))
        startFolder = WithTrailingSeparator(program.programDir());
    return startFolder;
}

std::optional<ChosenOutputFile> cmdBrowseClick(const std::string& txtDir,
                                               FileDialogRequest& commonDialog1,
                                               const WizardServices& services) {
    const std::string startFolder =
        OutputBrowseStartFolder(txtDir, services.registry, services.files, services.program);

    // The file name stays as the last showing left it, as the dialog is shared
    // with the locate step of the manager launch.
    commonDialog1.kind = FileDialogRequest::Kind::Save;
    commonDialog1.defaultExtension = "csv";
    commonDialog1.title = "Select File Name";
    commonDialog1.initialDir = startFolder;
    commonDialog1.filter = "Address File (*.csv)|*.csv";
    commonDialog1.pathMustExist = true;
    const std::optional<std::string> chosen = services.fileDialog.show(commonDialog1);
    if (!chosen)
        return std::nullopt;
    commonDialog1.fileName = *chosen;

    const std::string name = FileNamePart(*chosen);
    return ChosenOutputFile{chosen->substr(0, chosen->size() - name.size()), name};
}

std::optional<std::string> cmdIvroBrowseClick(const std::string& txtIvroFile,
                                              FileDialogRequest& commonDialog2,
                                              const WizardServices& services) {
    std::string startFile = txtIvroFile;
    if (startFile.empty())
        startFile = GetIvroBackupFile(services.registry);

    commonDialog2.kind = FileDialogRequest::Kind::Open;
    commonDialog2.defaultExtension = "adr";
    commonDialog2.title = "Select Ivro File";
    commonDialog2.fileName = startFile;
    commonDialog2.filter = "Address File (*.adr)|*.adr";
    // Only the folder has to exist: whether the file does is checked on Next.
    commonDialog2.pathMustExist = true;
    std::optional<std::string> chosen = services.fileDialog.show(commonDialog2);
    if (chosen)
        commonDialog2.fileName = *chosen;
    return chosen;
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
