#pragma once

#include "platform/Environment.h"
#include "platform/IIniService.h"

#include <functional>
#include <string>

namespace addrix {

class IFileSystem;

// How the system names the user's own folders.
enum class UserFolders { Xdg, Windows };
#ifdef _WIN32
inline constexpr UserFolders kHostUserFolders = UserFolders::Windows;
#else
inline constexpr UserFolders kHostUserFolders = UserFolders::Xdg;
#endif

// The user's own settings folder, with a trailing separator:
// $XDG_CONFIG_HOME/addrix/ (an absolute $XDG_CONFIG_HOME only, else
// $HOME/.config/addrix/), on Windows %APPDATA%\addrix\. "" when the
// environment names no such place.
std::string UserSettingsFolder(const EnvLookup& env, UserFolders style = kHostUserFolders);

// The user's settings folder as the help names it.
const char* UserSettingsFolderHint(UserFolders style = kHostUserFolders);

// Where this run keeps its settings and its trace.
struct SettingsLocation {
    std::string programFile; // the file beside the program, as the program names it
    std::string file;        // read first, and written
    std::string fallback;    // read for the keys `file` lacks; "" when none
    std::string folder;      // the folder of `file`, with a trailing separator: debug.log
};

// The file beside the program (`programFile`, in `programDir`) while it can be
// written: the program folder can be written, and so can the file when it
// exists. Otherwise the file of the same name in the user's settings folder,
// with the one beside the program as the fallback.
SettingsLocation LocateSettings(const std::string& programDir, const std::string& programFile,
                                const IFileSystem& files, const EnvLookup& env,
                                UserFolders style = kHostUserFolders);

// Makes the user's settings folder when `location` uses it, so that the trace
// and the first save find it. False when it is needed and cannot be made.
bool MakeSettingsFolder(const SettingsLocation& location);

// The settings file as the program names it (beside the program), kept where
// `location` says: reads and writes of `location.programFile` go to
// `location.file`, and a key that file lacks is read from `location.fallback`.
// Every other file is passed on as it is.
class SettingsIni final : public IIniService {
public:
    SettingsIni(IIniService& inner, SettingsLocation location);

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t bufferSize,
                           const std::string& file) const override;
    bool writeString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& file) override;

private:
    IIniService& m_inner;
    SettingsLocation m_location;
};

// The folder an export goes to when the settings name none: the program
// folder when it can be written, else the user's documents folder (when
// `documentsFolder` gives one), made when it is missing, or the folder
// above it when it cannot be made.
std::string DefaultExportFolder(const std::string& programDir, const IFileSystem& files,
                                const std::function<std::string()>& documentsFolder);

} // namespace addrix
