#include "wizard/ManagerLaunch.h"

#include "platform/IFileDialog.h"
#include "platform/IFileSystem.h"
#include "platform/IMessageBox.h"
#include "platform/IShell.h"
#include "platform/PathUtil.h"
#include "settings/Settings.h"
#include "wizard/WizardServices.h"

namespace addrix {

namespace {

constexpr const char* kNotFoundCaption = "NorvikMgr.exe not found";
constexpr const char* kNotFoundText = "Unable to locate NorvikMgr.EXE.\r\n"
                                      "Do you want to help locate it.";

// Every occurrence of `from` replaced by `to`, left to right, never rescanning
// what was put in.
std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
    std::string result;
    std::size_t start = 0;
    for (;;) {
        const auto pos = text.find(from, start);
        if (pos == std::string::npos)
            break;
        result.append(text, start, pos - start);
        result += to;
        start = pos + from.size();
    }
    result.append(text, start, std::string::npos);
    return result;
}

std::string NorvikMgrAlternativePath() {
    return ReplaceAll(kNorvikMgrDefaultPath, "Program Files", "Program Files (x86)");
}

// Activation is only a shortcut: any failure in it means "start the program".
bool TryActivate(IWindowActivator& windows) {
    try {
        return windows.activate(kNorvikMgrWindowTitle);
    } catch (...) {
        return false;
    }
}

bool TryStart(IShell& shell, const std::string& path) {
    try {
        std::string error;
        return shell.startProgram(path, error);
    } catch (...) {
        return false;
    }
}

} // namespace

void CheckKestleMgrPath(Settings& settings, const IFileSystem& files) {
    if (settings.KestleEXEFilePath.empty() || !files.fileExists(settings.KestleEXEFilePath))
        settings.KestleEXEFilePath = kNorvikMgrDefaultPath;
}

void CheckNorvikMgrPath(Settings& settings, const IFileSystem& files) {
    if (!settings.NorvikEXEFilePath.empty() && files.fileExists(settings.NorvikEXEFilePath))
        return;
    settings.NorvikEXEFilePath = kNorvikMgrDefaultPath;
    // The alternative is taken on trust: it is the last place left to try.
    if (!files.fileExists(settings.NorvikEXEFilePath))
        settings.NorvikEXEFilePath = NorvikMgrAlternativePath();
}

void LaunchNorvikMgr(WizardServices& services, FileDialogRequest& locateDialog) {
    Settings& settings = services.settings;
    std::string workingPath = settings.NorvikEXEFilePath;
    for (;;) {
        // A manager that is already running only needs to come to the front.
        if (TryActivate(services.activator) || TryStart(services.shell, workingPath))
            break;

        if (services.messages.show(kNotFoundCaption, kNotFoundText, MsgButtons::YesNo,
                                   MsgIcon::Question) != MsgAnswer::Yes)
            return;

        std::string initialDir = workingPath;
        if (!services.files.pathExists(initialDir))
            initialDir = WithTrailingSeparator(services.program.programDir());

        // The file name and the path-must-exist flag stay as the output-file
        // chooser left them: the dialog is shared with it.
        FileDialogRequest& dialog = locateDialog;
        dialog.kind = FileDialogRequest::Kind::Open;
        dialog.defaultExtension = "exe";
        dialog.title = "Locate NorvikMgr.exe";
        dialog.initialDir = initialDir;
        dialog.filter = "Program File (*.exe)|*.exe";
        const std::optional<std::string> chosen = services.fileDialog.show(dialog);
        if (!chosen)
            return;
        dialog.fileName = *chosen;
        workingPath = *chosen;
    }
    settings.NorvikEXEFilePath = workingPath;
}

} // namespace addrix
