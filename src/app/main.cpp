#include "app/cli/CommandLine.h"
#include "ivro/IvroBackupLocation.h"
#include "platform/IniFile.h"
#include "platform/StdFileSystem.h"
#include "platform/UserRegistry.h"
#include "platform/qt/QtServices.h"

#include <QCoreApplication>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    using namespace addrix;

    QCoreApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);

    QtProgramLocation program;
    StdFileSystem files;
    IniFile ini;
    const auto defaultIvroFile = [] {
        return GetIvroBackupFile(*OpenUserRegistry(SystemEnvironment()));
    };
    CommandLineServices services{std::cout, std::cerr,       program, files,
                                 ini,       defaultIvroFile, nullptr};
    return RunCommandLine(args, services);
}
