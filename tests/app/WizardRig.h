#pragma once

#include "app/gui/frmWelcome.h"
#include "app/logic/FileChoosers.h"
#include "platform/IniFile.h"
#include "platform/StdFileSystem.h"
#include "settings/Settings.h"
#include "support/FakeRegistry.h"
#include "support/ShellFakes.h"
#include "support/TestSupport.h"
#include "support/WizardFakes.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <fstream>
#include <memory>
#include <string>

namespace addrix::test {

inline const QStringList kPages = {"FrameWelcome",      "FrameFileLocation", "frameGalderMappings",
                                   "frameIvroMappings", "frameExport",       "frameComplete"};

// One Ivro backup file line of 24 fields.
inline std::string IvroEntry(int n) {
    std::string line = std::to_string(n) + "\tx\t0\tFirst" + std::to_string(n) + "\tLast";
    for (int field = 6; field <= 24; ++field)
        line += '\t';
    return line;
}

inline std::string IvroBackup(int entries) {
    std::string text = "#Record\tName\tAddress\r\n";
    for (int n = 1; n <= entries; ++n)
        text += IvroEntry(n) + "\r\n";
    return text;
}

// The wizard with fake services around it, in a program folder of its own.
struct WizardRig {
    TempDir programDir;
    FakeProgramLocation program{programDir.path(), "addrix"};
    StdFileSystem files;
    IniFile ini;
    FakeRegistry registry;
    FakePortBank ports;
    FakeMessageBox messages;
    FakeShell shell;
    FakeWindowActivator activator;
    FakeFileDialog dialog;
    FakeGalderDownloadWindow galder;
    Settings settings;
    int endProgramCalls = 0;
    // The port the wizard probes and the download it runs; the fakes above
    // unless a test puts real ones in before start().
    ISerialPort* probePort = &ports;
    IGalderDownloadWindow* galderWindow = &galder;
    std::unique_ptr<WizardServices> services;
    std::unique_ptr<frmWelcome> window;

    WizardRig() {
        ports.ports = {{1, SerialOpenResult::Status::Opened},
                       {3, SerialOpenResult::Status::Failed}};
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
        services.reset(new WizardServices{messages, files, program, ini, registry, *probePort,
                                          galderWindow, shell, activator, dialog, settings, [this] {
                                              ++endProgramCalls;
                                          }});
        window = Main(*services);
        return *window;
    }

    template <typename T> T* find(const char* name) const {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QAction* action(const char* name) const { return find<QAction>(name); }

    // The page panels in view.
    QStringList visiblePages() const {
        QStringList shown;
        for (const QString& page : kPages)
            if (window->findChild<QGroupBox*>(page)->isVisible())
                shown << page;
        return shown;
    }

    // A click on a control the user can reach; false when it is out of reach.
    bool click(const char* name) const {
        auto* button = find<QAbstractButton>(name);
        if (!button->isVisible() || !button->isEnabled())
            return false;
        QTest::mouseClick(button, Qt::LeftButton);
        return true;
    }
    bool enabled(const char* name) const { return find<QWidget>(name)->isEnabled(); }
    bool visible(const char* name) const { return find<QWidget>(name)->isVisible(); }
    QString text(const char* name) const {
        if (auto* edit = window->findChild<QLineEdit*>(QString::fromLatin1(name)))
            return edit->text();
        if (auto* label = window->findChild<QLabel*>(QString::fromLatin1(name)))
            return label->text();
        return find<QAbstractButton>(name)->text();
    }
    void setText(const char* name, const std::string& value) const {
        find<QLineEdit>(name)->setText(QString::fromStdString(value));
    }

    // A backup file of `entries` entries, named in txtIvroFile.
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
