#include "app/cli/CommandLine.h"
#include "app/cli/ConsoleDownload.h"
#include "app/gui/WizardMain.h"
#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "platform/SettingsLocation.h"
#include "platform/StdFileSystem.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/SystemSerialPort.h"
#include "platform/registry/UserRegistry.h"
#include "settings/Settings.h"
#include "sources/ivro/IvroBackupLocation.h"
#include "wizard/FileChoosers.h"

#include <QCoreApplication>

#include <iostream>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    using namespace addrix;
    // Without arguments the wizard opens; with them the command line runs.
    if (argc <= 1)
        return RunWizard(argc, argv);

    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);

    QtProgramLocation program;
    StdFileSystem files;
    IniFile iniFile;
    const SettingsLocation location =
        LocateSettings(program.programDir(), SettingsFilePath(program), files, SystemEnvironment());
    MakeSettingsFolder(location);
    SettingsIni ini(iniFile, location);
    const auto defaultIvroFile = [] {
        return GetIvroBackupFile(*OpenUserRegistry(SystemEnvironment()));
    };
    const PortLocator ports = SystemPortLocator(ini, SettingsFilePath(program));
    // Where exports go when the program folder cannot be written.
    const auto documentsFolder = [] {
        return DocumentsFolder(*OpenUserRegistry(SystemEnvironment()));
    };
    CommandLineServices services{std::cout, std::cerr,       program, files,
                                 ini,       defaultIvroFile, {},      documentsFolder};
    services.galderWindow = [&] {
        return std::make_unique<ConsoleDownload>(
            std::cerr, ConsoleDownload::StandardErrorIsTerminal(), ports,
            location.folder + "debug.log"); // the trace follows the settings file
    };
    return RunCommandLine(args, services);
}
