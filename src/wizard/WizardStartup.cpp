#include "wizard/WizardStartup.h"

#include "platform/IFileSystem.h"
#include "platform/SettingsLocation.h"
#include "sources/ivro/IvroBackupLocation.h"
#include "wizard/FileChoosers.h"
#include "wizard/ManagerLaunch.h"

namespace addrix {

void FillDefaultChoices(Choices& choices, const IFileSystem& files, const std::string& programDir,
                        const std::function<std::string()>& proposedIvroFile,
                        const std::function<std::string()>& documentsFolder) {
    // A folder deleted since the last run is replaced silently; the
    // replacement is written back at exit.
    if (choices.ExportPath.value_or("").empty() || !files.pathExists(*choices.ExportPath))
        choices.ExportPath = DefaultExportFolder(programDir, files, documentsFolder);
    if (choices.ExportFile.value_or("").empty())
        choices.ExportFile = kDefaultExportFile;
    if (choices.IvroFile.value_or("").empty())
        choices.IvroFile = proposedIvroFile ? proposedIvroFile() : std::string();
}

SavedSettings LoadWizardChoices(const StartupServices& services) {
    SavedSettings saved = LoadSettings(services.ini, SettingsFilePath(services.program));
    CheckKestleMgrPath(saved.settings, services.files);
    CheckNorvikMgrPath(saved.settings, services.files);
    FillDefaultChoices(
        saved.choices, services.files, services.program.programDir(),
        [&] { return GetIvroBackupFile(services.registry); },
        [&] { return DocumentsFolder(services.registry); });
    return saved;
}

bool ShowsGalder(const Settings& settings) {
    return settings.DisplayGalder != "0";
}

} // namespace addrix
