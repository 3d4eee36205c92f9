#pragma once

#include <optional>
#include <string>

namespace addrix {

class IFileDialog;
class IFileSystem;
class IProgramLocation;
class IRegistry;
class IShell;
struct FileDialogRequest;
struct WizardServices;

inline constexpr const char* kPersonalValue = "Personal";

// The user's documents folder, as the registry names it; "" when it does not.
std::string DocumentsFolder(const IRegistry& registry);

// The folder the output-file dialog opens in: txtDir, else the user's
// documents folder, else the program folder; a place that does not exist
// gives the program folder with its trailing separator.
std::string OutputBrowseStartFolder(const std::string& txtDir, const IRegistry& registry,
                                    const IFileSystem& files, const IProgramLocation& program);

// The output file chosen with cmdBrowse: its folder, ending in its
// separator, for txtDir and its name for txtFileName.
struct ChosenOutputFile {
    std::string dir;
    std::string fileName;
};

// cmdBrowse: lets the user choose the output file with CommonDialog1, starting
// from `txtDir`. Nothing when the dialog was cancelled.
std::optional<ChosenOutputFile> cmdBrowseClick(const std::string& txtDir,
                                               FileDialogRequest& commonDialog1,
                                               const WizardServices& services);

// cmdIvroBrowse: lets the user choose the Ivro backup file with CommonDialog2,
// starting at `txtIvroFile` or the proposed backup file. The chosen file need
// not exist yet. Nothing when the dialog was cancelled.
std::optional<std::string> cmdIvroBrowseClick(const std::string& txtIvroFile,
                                              FileDialogRequest& commonDialog2,
                                              const WizardServices& services);

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
