#include "app/cli/CommandLine.h"
#include "app/cli/ConsoleDownload.h"
#include "app/gui/WizardMain.h"
#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "platform/StdFileSystem.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtServices.h"
#include "platform/registry/UserRegistry.h"
#include "settings/Settings.h"
#include "sources/ivro/IvroBackupLocation.h"

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
    IniFile ini;
    const auto defaultIvroFile = [] {
        return GetIvroBackupFile(*OpenUserRegistry(SystemEnvironment()));
    };
    const PortLocator ports = SystemPortLocator(ini, SettingsFilePath(program));
    CommandLineServices services{std::cout, std::cerr, program, files, ini, defaultIvroFile, {}};
    services.galderWindow = [&] {
        return std::make_unique<ConsoleDownload>(
            std::cerr, ConsoleDownload::StandardErrorIsTerminal(), ports,
            WithTrailingSeparator(program.programDir()) + "debug.log");
    };
    return RunCommandLine(args, services);
}
