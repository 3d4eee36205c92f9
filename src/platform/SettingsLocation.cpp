#include "platform/SettingsLocation.h"

#include "platform/FilePath.h"
#include "platform/IFileSystem.h"
#include "platform/PathUtil.h"

#include <filesystem>
#include <system_error>

namespace addrix {

namespace {

// A value read from a file never holds a line break, so this default tells a
// key the file lacks from any value it holds.
constexpr const char* kAbsent = "\n";

} // namespace

std::string UserSettingsFolder(const EnvLookup& env, UserFolders style) {
    if (style == UserFolders::Windows) {
        std::string appData = env("APPDATA");
        if (appData.empty())
            return {};
        if (appData.back() != '\\')
            appData += '\\';
        return appData + "addrix\\";
    }
    std::string base = env("XDG_CONFIG_HOME");
    // Relative folders are to be ignored.
    if (base.empty() || base.front() != '/') {
        const std::string home = env("HOME");
        if (home.empty())
            return {};
        base = home + (home.back() == '/' ? "" : "/") + ".config";
    }
    return base + (base.back() == '/' ? "" : "/") + "addrix/";
}

const char* UserSettingsFolderHint(UserFolders style) {
    return style == UserFolders::Windows ? "%APPDATA%\\addrix"
                                         : "$XDG_CONFIG_HOME/addrix, by default ~/.config/addrix";
}

SettingsLocation LocateSettings(const std::string& programDir, const std::string& programFile,
                                const IFileSystem& files, const EnvLookup& env, UserFolders style) {
    SettingsLocation location{programFile, programFile, {}, WithTrailingSeparator(programDir)};
    const bool besideWritable = files.canWrite(programDir) &&
                                (!files.pathExists(programFile) || files.canWrite(programFile));
    const std::string userFolder = UserSettingsFolder(env, style);
    if (besideWritable || userFolder.empty())
        return location;
    location.file = userFolder + FileNamePart(programFile);
    location.fallback = programFile;
    location.folder = userFolder;
    return location;
}

bool MakeSettingsFolder(const SettingsLocation& location) {
    if (location.file == location.programFile)
        return true;
    std::error_code ec;
    std::filesystem::create_directories(ToFsPath(location.folder), ec);
    return std::filesystem::is_directory(ToFsPath(location.folder), ec);
}

SettingsIni::SettingsIni(IIniService& inner, SettingsLocation location)
    : m_inner(inner), m_location(std::move(location)) {}

std::string SettingsIni::readString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, std::size_t bufferSize,
                                    const std::string& file) const {
    if (file != m_location.programFile)
        return m_inner.readString(section, key, defaultValue, bufferSize, file);
    // A buffer too small for the marker holds nothing anyway.
    if (m_location.fallback.empty() || bufferSize < 2)
        return m_inner.readString(section, key, defaultValue, bufferSize, m_location.file);
    std::string value = m_inner.readString(section, key, kAbsent, bufferSize, m_location.file);
    if (value != kAbsent)
        return value;
    return m_inner.readString(section, key, defaultValue, bufferSize, m_location.fallback);
}

bool SettingsIni::writeString(const std::string& section, const std::string& key,
                              const std::string& value, const std::string& file) {
    return m_inner.writeString(section, key, value,
                               file == m_location.programFile ? m_location.file : file);
}

std::string DefaultExportFolder(const std::string& programDir, const IFileSystem& files,
                                const std::function<std::string()>& documentsFolder) {
    if (files.canWrite(programDir) || !documentsFolder)
        return programDir;
    std::string folder = documentsFolder();
    if (folder.empty())
        return programDir;
    // A new user may have no documents folder yet: it is made, or the
    // folder it would lie in serves.
    if (files.pathExists(folder) || files.makeFolder(folder))
        return folder;
    std::string above = FolderPart(folder.substr(0, folder.find_last_not_of("/\\") + 1));
    return !above.empty() && files.canWrite(above) ? above : programDir;
}

} // namespace addrix
