#pragma once

#include "settings/Settings.h"

#include <functional>
#include <string>

namespace addrix {

class IFileSystem;
class IIniService;
class IProgramLocation;
class IRegistry;
struct WizardServices;

// The output file name offered when the settings name none.
inline constexpr const char* kDefaultExportFile = "NorvikaddressBook.csv";

// Where the defaults that need the registry come from; each is asked only
// when the settings leave its choice empty.
struct DefaultLookups {
    std::function<std::string()> proposedIvroFile;
    std::function<std::string()> documentsFolder;
};

// The settings file's values, with the wizard's defaults where it names
// nothing: ExportPath (also when it names nothing on disk) the program
// folder, or the documents folder when the program folder cannot be
// written; ExportFile "NorvikaddressBook.csv"; IvroFile the proposed backup.
// What both the wizard and the command line start from.
SavedSettings LoadSettingsWithDefaults(const IIniService& ini, const IProgramLocation& program,
                                       const IFileSystem& files, const DefaultLookups& lookups);

// The part of the wizard's load that follows the filling of its two lists:
// the settings with their defaults, and the manager paths' defaults.
SavedSettings LoadWizardChoices(const WizardServices& services);

// False when the settings hide the Galder source (DisplayGalder "0").
bool ShowsGalder(const Settings& settings);

} // namespace addrix
