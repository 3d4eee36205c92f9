#include "app/cli/CommandLine.h"
#include "app/cli/ConsoleDownload.h"
#include "app/gui/WizardMain.h"
#include "platform/StdFileSystem.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/SystemSerialPort.h"
#include "platform/registry/UserRegistry.h"
#include "sources/ivro/IvroBackupLocation.h"
#include "wizard/FileChoosers.h"
#include "wizard/ProgramSettings.h"

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
    ProgramSettings settingsFile(program, files, SystemEnvironment());
    const auto defaultIvroFile = [] {
        return GetIvroBackupFile(*OpenUserRegistry(SystemEnvironment()));
    };
    const PortLocator ports = SystemPortLocator(settingsFile.ini(), settingsFile.file());
    // Where exports go when the program folder cannot be written.
    const auto documentsFolder = [] {
        return DocumentsFolder(*OpenUserRegistry(SystemEnvironment()));
    };
    CommandLineServices services{std::cout,          std::cerr,       program, files,
                                 settingsFile.ini(), defaultIvroFile, {},      documentsFolder};
    services.ownFiles = settingsFile.ownFiles();
    services.galderWindow = [&] {
        return std::make_unique<ConsoleDownload>(
            std::cerr, ConsoleDownload::StandardErrorIsTerminal(), ports, settingsFile.traceFile());
    };
    return RunCommandLine(args, services);
}
