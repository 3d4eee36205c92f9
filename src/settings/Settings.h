#pragma once

#include <optional>
#include <string>

namespace addrix {

class IIniService;
class IProgramLocation;

// The module variables that the settings file feeds; one instance per program
// run, filled by LoadSettings.
struct Settings {
    bool DebugEnabled = false;     // "Debug": trace the serial exchange to debug.log
    double MaxDeviceRecords = 0;   // "MaxDeviceRecords": most records an export writes
    std::string DisplayGalder;     // "DisplayGalder": "0" hides the Galder source
    std::string KestleEXEFilePath; // "KestleEXEFilePath"
    std::string NorvikEXEFilePath; // "NorvikEXEFilePath"
};

// The user's choices that the wizard shows in its controls. After a load, a
// key that could not be read is empty and leaves its control as it is; on a
// save, an empty one is not written.
struct Choices {
    std::optional<double> GalderPort;  // "GalderPort": position in lstGalderCommPort
    std::optional<double> GalderEmail; // "GalderEmail": position in lstGalderEmail
    std::optional<std::string> IvroFile;
    std::optional<bool> LaunchDataPlug;
    std::optional<std::string> ExportPath;
    std::optional<std::string> ExportFile;
};

// What the settings file holds.
struct SavedSettings {
    Settings settings;
    Choices choices;
};

// The settings file: the program folder, the executable's name and ".INI".
std::string SettingsFilePath(const IProgramLocation& program);

// The position a saved list position names in a list of `count` entries;
// -1 is no selection. Nothing when the list has no such position.
std::optional<int> ListPosition(std::optional<double> saved, int count);

// Reads every key of section "Settings" of `iniPath`. Never fails: a key that
// cannot be read keeps its default.
SavedSettings LoadSettings(const IIniService& ini, const std::string& iniPath);

// Writes the user's choices back; a key that fails is skipped. False when
// any key could not be written.
bool SaveSettings(const Settings& settings, const Choices& choices, IIniService& ini,
                  const std::string& iniPath);

} // namespace addrix
