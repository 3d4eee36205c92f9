#pragma once

#include "platform/Environment.h"
#include "platform/IniFile.h"
#include "platform/SettingsLocation.h"

#include <string>
#include <vector>

namespace addrix {

class IFileSystem;
class IProgramLocation;

// The settings file of one run, wherever LocateSettings puts it, as both the
// wizard and the command line start with it: read and written under the
// name beside the program, the user's folder made when it is used.
class ProgramSettings {
public:
    ProgramSettings(const IProgramLocation& program, const IFileSystem& files,
                    const EnvLookup& env);
    ProgramSettings(const ProgramSettings&) = delete;
    ProgramSettings& operator=(const ProgramSettings&) = delete;

    IIniService& ini() { return m_ini; }
    // The file beside the program, the name every caller uses.
    const std::string& file() const { return m_location.programFile; }
    // The serial trace follows the settings file.
    std::string traceFile() const { return m_location.folder + "debug.log"; }
    // The files of the program's own, which no file the user names may replace.
    std::vector<std::string> ownFiles() const;

private:
    IniFile m_iniFile;
    SettingsLocation m_location;
    SettingsIni m_ini;
};

} // namespace addrix
