#pragma once

#include "app/gui/frmWelcome.h"
#include "platform/IniFile.h"
#include "platform/StdFileSystem.h"
#include "settings/Settings.h"
#include "support/FakeRegistry.h"
#include "support/TestSupport.h"
#include "support/WizardFakes.h"
#include "wizard/FileChoosers.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include <fstream>
#include <memory>
#include <string>

namespace addrix::test {

// The wizard with fake services around it, in a program folder of its own.
struct WizardRig {
    TempDir programDir;
    FakeProgramLocation program{programDir.path(), "addrix"};
    StdFileSystem files;
    IniFile ini;
    FakeRegistry registry;
    FakeSerialPort ports;
    FakeMessageBox messages;
    FakeShell shell;
    FakeWindowActivator activator;
    FakeFileDialog dialog;
    FakeGalderDownloadWindow galder;
    Settings settings;
    int endProgramCalls = 0;
    std::unique_ptr<WizardServices> services;
    std::unique_ptr<frmWelcome> window;

    WizardRig() {
        // COM1 opens, COM3 is busy, COM17 is never probed.
        ports.ports = {{1, SerialOpenResult::Status::Opened},
                       {3, SerialOpenResult::Status::Failed},
                       {17, SerialOpenResult::Status::Opened}};
        registry.setString(kShellFoldersKey, kPersonalValue, programDir.file("Documents"));
    }

    std::string iniPath() const { return SettingsFilePath(program); }
    void writeSettings(const std::string& lines) const {
        std::ofstream(iniPath(), std::ios::binary) << "[Settings]\r\n" << lines;
    }
    std::string saved(const char* key) const {
        return ini.readString("Settings", key, "<missing>", 1024, iniPath());
    }

    frmWelcome& start() {
        const auto endProgram = [this] {
            ++endProgramCalls;
        };
        services.reset(new WizardServices{messages, files, program, ini, registry, ports, &galder,
                                          shell, activator, dialog, settings, endProgram});
        window = Main(*services);
        return *window;
    }

    template <typename T = QWidget> T* find(const char* name) const {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    bool enabled(const char* name) const { return find(name)->isEnabled(); }
    bool visible(const char* name) const { return find(name)->isVisible(); }
    QString text(const char* name) const { return find(name)->property("text").toString(); }
    void setText(const char* name, const std::string& value) const {
        find<QLineEdit>(name)->setText(QString::fromStdString(value));
    }
    // A click on a control the user can reach; false when it is out of reach.
    bool click(const char* name) const {
        auto* button = find<QAbstractButton>(name);
        if (!button->isVisible() || !button->isEnabled())
            return false;
        QTest::mouseClick(button, Qt::LeftButton);
        return true;
    }

    // An Ivro backup file of `entries` entries, named in txtIvroFile.
    void useIvroBackup(int entries) const {
        setText("txtIvroFile", programDir.write("book.adr", IvroBackup(entries)));
    }
    // From the welcome page to the confirmation page with `source` chosen.
    bool walkToConfirmation(const char* source) const {
        return click(source) && click("cmdNext") && click("cmdNext") && click("cmdNext") &&
               window->CurrentStage() == 3;
    }
};

} // namespace addrix::test
