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

} // namespace addrix
