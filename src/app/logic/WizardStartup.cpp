#include "app/logic/WizardStartup.h"

#include "app/logic/FileChoosers.h"
#include "app/logic/ManagerLaunch.h"
#include "export/IWizardForm.h"
#include "ivro/IvroBackupLocation.h"
#include "platform/IFileSystem.h"
#include "platform/SettingsLocation.h"
#include "settings/Settings.h"

namespace addrix {

void LoadWizardChoices(IWizardForm& wizard, Settings& settings, const StartupServices& services) {
    LoadSettings(wizard, settings, services.ini, SettingsFilePath(services.program));
    CheckKestleMgrPath(settings, services.files);
    CheckNorvikMgrPath(settings, services.files);

    // A folder deleted since the last run is replaced silently; the
    // replacement is written back at exit.
    if (wizard.txtDir().empty() || !services.files.pathExists(wizard.txtDir())) {
        const auto documents = [&] {
            const std::string folder =
                ReadRegistryValue(services.registry, kShellFoldersKey, kPersonalValue);
            return folder == kNotFound ? std::string() : folder;
        };
        wizard.setTxtDir(
            DefaultExportFolder(services.program.programDir(), services.files, documents));
    }
    if (wizard.txtFileName().empty())
        wizard.setTxtFileName(kDefaultExportFile);
    if (wizard.txtIvroFile().empty())
        wizard.setTxtIvroFile(GetIvroBackupFile(services.registry));
}

bool ShowsGalder(const Settings& settings) {
    return settings.DisplayGalder != "0";
}

std::string RecordsExportedText(RecordCount count) {
    if (count <= 0)
        return {};
    if (count == 1)
        return "1 record exported.";
    return std::to_string(count) + " records exported.";
}

} // namespace addrix
