#pragma once

#include "settings/Settings.h"

#include <functional>
#include <string>

namespace addrix {

class IFileSystem;
class IIniService;
class IProgramLocation;
class IRegistry;

// The output file name offered when the settings name none.
inline constexpr const char* kDefaultExportFile = "NorvikaddressBook.csv";

// What the wizard's start-up reads.
struct StartupServices {
    const IIniService& ini;
    const IProgramLocation& program;
    const IFileSystem& files;
    const IRegistry& registry;
};

// Fills what the settings left empty, as the wizard shows it: ExportPath
// (also when it names nothing on disk) with `programDir`, or with
// `documentsFolder()` when the program folder cannot be written; ExportFile
// with "NorvikaddressBook.csv"; IvroFile with `proposedIvroFile()`.
void FillDefaultChoices(Choices& choices, const IFileSystem& files, const std::string& programDir,
                        const std::function<std::string()>& proposedIvroFile,
                        const std::function<std::string()>& documentsFolder);

// The part of the wizard's load that follows the filling of its two lists:
// the settings file's values, the manager paths' defaults, and the wizard's
// defaults where the settings name nothing.
SavedSettings LoadWizardChoices(const StartupServices& services);

// False when the settings hide the Galder source (DisplayGalder "0").
bool ShowsGalder(const Settings& settings);

} // namespace addrix
