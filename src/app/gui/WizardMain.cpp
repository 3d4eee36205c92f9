#include "app/gui/WizardMain.h"

#include "app/gui/GalderDownloadWindow.h"
#include "app/gui/frmWelcome.h"
#include "platform/Environment.h"
#include "platform/StdFileSystem.h"
#include "platform/SystemWindowActivator.h"
#include "platform/qt/QtFileDialog.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtServices.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/SystemSerialPort.h"
#include "platform/registry/UserRegistry.h"
#include "settings/Settings.h"
#include "wizard/DisplayCheck.h"
#include "wizard/ProgramSettings.h"

#include <QApplication>

#include <iostream>
#include <memory>

namespace addrix {

int RunWizard(int& argc, char** argv) {
    const EnvLookup env = SystemEnvironment();
    // Qt would abort without a display; say what is wrong instead.
    if (!HasDisplay(env)) {
        std::cerr << NoDisplayMessage();
        return kExitNoDisplay;
    }
    QApplication app(argc, argv);

    QtProgramLocation program;
    StdFileSystem files;
    ProgramSettings settingsFile(program, files, env);
    IIniService& ini = settingsFile.ini();
    const std::unique_ptr<IRegistry> registry = OpenUserRegistry(env);
    const PortLocator ports = SystemPortLocator(ini, settingsFile.file());
    // The download window's port, borrowed to probe the ports at start-up.
    SystemSerialPort probePort(ports);
    Settings settings;
    GalderDownloadWindow galder(ports, settingsFile.traceFile());
    QtMessageBox messages;
    QtShell shell;
    SystemWindowActivator activator;
    QtFileDialog dialog;
    WizardServices services{messages,
                            files,
                            program,
                            ini,
                            *registry,
                            probePort,
                            &galder,
                            shell,
                            activator,
                            dialog,
                            settings,
                            [] {
                                QCoreApplication::quit();
                            }};

    services.ownFiles = settingsFile.ownFiles();
    const std::unique_ptr<frmWelcome> wizard = Main(services);
    messages.setParent(wizard.get());
    dialog.setParent(wizard.get());
    galder.setOwner(wizard.get());
    return app.exec();
}

} // namespace addrix
