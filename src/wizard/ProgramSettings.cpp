#include "wizard/ProgramSettings.h"

#include "platform/IFileSystem.h"
#include "settings/Settings.h"

namespace addrix {

ProgramSettings::ProgramSettings(const IProgramLocation& program, const IFileSystem& files,
                                 const EnvLookup& env)
    : m_location(LocateSettings(program.programDir(), SettingsFilePath(program), files, env)),
      m_ini(m_iniFile, m_location) {
    MakeSettingsFolder(m_location);
}

std::vector<std::string> ProgramSettings::ownFiles() const {
    std::vector<std::string> files = {m_location.programFile, m_location.file, traceFile()};
    if (!m_location.fallback.empty())
        files.push_back(m_location.fallback);
    return files;
}

} // namespace addrix
