#pragma once

#include "export/ExportDriver.h"

#include <string>

namespace addrix {

class IFileSystem;
class IIniService;
class IProgramLocation;
class IRegistry;
class IWizardForm;
struct Settings;

// The output file name offered when the settings name none.
inline constexpr const char* kDefaultExportFile = "NorvikaddressBook.csv";

// What the wizard's start-up reads besides its own controls.
struct StartupServices {
    const IIniService& ini;
    const IProgramLocation& program;
    const IFileSystem& files;
    const IRegistry& registry;
};

// The part of the wizard's load that follows the filling of its two lists:
// loads the settings into `settings` and the controls, gives the manager
// paths their defaults, and fills the boxes the settings left empty: txtDir
// (also when it names nothing on disk) with the program folder (the
// documents folder when the program folder cannot be written), txtFileName
// with "NorvikaddressBook.csv", txtIvroFile with the proposed backup file.
void LoadWizardChoices(IWizardForm& wizard, Settings& settings, const StartupServices& services);

// False when the settings hide the Galder source (DisplayGalder "0").
bool ShowsGalder(const Settings& settings);

// The text of the count box after an export of `count` records: "1 record
// exported.", "N records exported."; empty when there is nothing to report.
std::string RecordsExportedText(RecordCount count);

} // namespace addrix
