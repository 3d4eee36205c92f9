#pragma once

#include <string>

namespace addrix {

class IIniService;
class IProgramLocation;
class IWizardForm;

// The module variables that the settings file feeds; one instance per program
// run, filled by LoadSettings.
struct Settings {
    bool DebugEnabled = false;     // "Debug": trace the serial exchange to debug.log
    double MaxDeviceRecords = 0;   // "MaxDeviceRecords": most records an export writes
    std::string DisplayGalder;     // "DisplayGalder": "0" hides the Galder source
    std::string KestleEXEFilePath; // "KestleEXEFilePath"
    std::string NorvikEXEFilePath; // "NorvikEXEFilePath"
};

// The settings file: the program folder, the executable's name and ".INI".
std::string SettingsFilePath(const IProgramLocation& program);

// The caption of lblMaxRecords for a record limit of `maxRecords`.
std::string MaxRecordsCaption(double maxRecords);

// Reads every key of section "Settings" of `iniPath` into `settings` and the
// wizard's controls. Never fails: a step that cannot be applied is skipped.
void LoadSettings(IWizardForm& wizard, Settings& settings, const IIniService& ini,
                  const std::string& iniPath);

// Writes the user's choices back; a step that fails is skipped. False when
// any step failed.
bool SaveSettings(const IWizardForm& wizard, const Settings& settings, IIniService& ini,
                  const std::string& iniPath);

} // namespace addrix
