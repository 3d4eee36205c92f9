#include "wizard/WizardStartup.h"

#include "platform/IFileSystem.h"
#include "platform/SettingsLocation.h"
#include "sources/ivro/IvroBackupLocation.h"
#include "wizard/FileChoosers.h"
#include "wizard/ManagerLaunch.h"
#include "wizard/WizardServices.h"

namespace addrix {

namespace {

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

} // namespace

SavedSettings LoadSettingsWithDefaults(const IIniService& ini, const IProgramLocation& program,
                                       const IFileSystem& files, const DefaultLookups& lookups) {
    SavedSettings saved = LoadSettings(ini, SettingsFilePath(program));
    FillDefaultChoices(saved.choices, files, program.programDir(), lookups.proposedIvroFile,
                       lookups.documentsFolder);
    return saved;
}

SavedSettings LoadWizardChoices(const WizardServices& services) {
    const IRegistry& registry = services.registry;
    SavedSettings saved = LoadSettingsWithDefaults(services.ini, services.program, services.files,
                                                   {[&] { return GetIvroBackupFile(registry); },
                                                    [&] {
                                                        return DocumentsFolder(registry);
                                                    }});
    CheckKestleMgrPath(saved.settings, services.files);
    CheckNorvikMgrPath(saved.settings, services.files);
    return saved;
}

bool ShowsGalder(const Settings& settings) {
    return settings.DisplayGalder != "0";
}

} // namespace addrix
