#pragma once

#include <optional>
#include <string>

namespace addrix {

class IFileDialog;
class IFileSystem;
class IProgramLocation;
class IRegistry;
class IShell;
class IWizardForm;
struct FileDialogRequest;

// Where the user's documents folder is kept, below the current user's root.
inline constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr const char* kPersonalValue = "Personal";

// What the Browse buttons need from the platform.
struct FileChooserServices {
    IFileDialog& dialog;
    const IRegistry& registry;
    const IFileSystem& files;
    const IProgramLocation& program;
};

// The folder the output-file dialog opens in: txtDir, else the user's
// documents folder, else the program folder; a place that does not exist
// gives the program folder with its trailing separator.
std::string OutputBrowseStartFolder(const IWizardForm& wizard, const IRegistry& registry,
                                    const IFileSystem& files, const IProgramLocation& program);

// cmdBrowse: lets the user choose the output file with CommonDialog1 and puts
// its folder (ending in its separator) into txtDir and its name into
// txtFileName. A cancelled dialog changes nothing.
void cmdBrowseClick(IWizardForm& wizard, FileDialogRequest& commonDialog1,
                    FileChooserServices& services);

// cmdIvroBrowse: lets the user choose the Ivro backup file with CommonDialog2,
// starting at txtIvroFile or the proposed backup file. The chosen file need not
// exist yet; a cancelled dialog changes nothing.
void cmdIvroBrowseClick(IWizardForm& wizard, FileDialogRequest& commonDialog2,
                        FileChooserServices& services);

// The help documents that lie beside the program, one per source.
enum class HelpDocument { Galder, Ivro, Kestle };

// "GalderExporter.rtf", "IvroExporter.rtf" or "KestletoNorvik.rtf".
const char* HelpDocumentName(HelpDocument document);

// The program folder, a separator and the document's name.
std::string HelpDocumentPath(HelpDocument document, const IProgramLocation& program);

// cmdGalderHelp, cmdIvroHelp, cmdKestleHelp, their menu entries and cmdHelp: opens the
// document with its associated program. A missing document is not reported.
void ShowHelpDocument(HelpDocument document, IShell& shell, const IProgramLocation& program);

} // namespace addrix
