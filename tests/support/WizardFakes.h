#pragma once

#include "contact/ContactList.h"
#include "export/GalderExportJob.h"
#include "platform/IFileDialog.h"
#include "platform/IFileSystem.h"
#include "platform/IShell.h"
#include "platform/IniFile.h"
#include "platform/TextFile.h"
#include "settings/Settings.h"
#include "support/FakeRegistry.h"
#include "support/TestSupport.h"
#include "wizard/WizardServices.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

// Fakes of the services the wizard reaches, for GoogleTest and QtTest alike.
namespace addrix::test {

// A download that runs `during` (which may throw, as a port that will not
// open does), opens its port, writes `contacts` and returns `result` (the
// number of lines unless set). Asked for a list, it lists each line as a
// contact instead, its comma-separated fields in the columns a source
// fills, in their order. Keeps each download asked for as "port
// e-mail-column limit trace".
struct FakeGalderDownloadWindow final : IGalderDownloadWindow {
    std::vector<std::string> contacts;
    std::optional<RecordCount> result;
    std::function<void()> during;
    std::vector<std::string> asked;

    RecordCount runDownload(ILineSink& file, const GalderDownload& download) override {
        std::ostringstream job;
        job << download.portNumber << ' ' << download.emailOption << ' ' << download.maxRecords
            << ' ' << download.trace;
        asked.push_back(job.str());
        if (during)
            during();
        for (std::size_t n = 0; n < contacts.size(); ++n) {
            if (!download.list) {
                file.writeLine(contacts[n]);
                continue;
            }
            ContactLineWriter contact;
            std::istringstream fields(contacts[n]);
            std::string field;
            for (std::size_t i = 0; i < kSourceColumns.size() && std::getline(fields, field, ',');
                 ++i)
                contact.add(kSourceColumns[i], field);
            download.list->take(contact, static_cast<std::int64_t>(n + 1));
        }
        return result.value_or(static_cast<RecordCount>(contacts.size()));
    }
    // A window of its own that downloads through this one.
    std::unique_ptr<IGalderDownloadWindow> handle() {
        struct Handle final : IGalderDownloadWindow {
            IGalderDownloadWindow& to;
            explicit Handle(IGalderDownloadWindow& window) : to(window) {}
            RecordCount runDownload(ILineSink& file, const GalderDownload& download) override {
                return to.runDownload(file, download);
            }
        };
        return std::make_unique<Handle>(*this);
    }
};

// Finds a window while `answers` says so; records every title asked for.
struct FakeWindowActivator final : IWindowActivator {
    std::deque<bool> answers;
    std::vector<std::string> asked;
    bool throws = false; // fails the way a broken window system does

    bool activate(const std::string& title) override {
        asked.push_back(title);
        if (throws)
            throw std::runtime_error("window system gone");
        return NextAnswer(answers, false);
    }
};

// Starts only the programs in `startable`; records every start and document.
struct FakeShell final : IShell {
    std::set<std::string> startable;
    std::vector<std::string> startAttempts;
    std::vector<std::string> opened;

    bool openDocument(const std::string& path) override {
        opened.push_back(path);
        return false; // the result must not matter to the caller
    }
    bool startProgram(const std::string& path, std::string& error) override {
        startAttempts.push_back(path);
        error = "cannot start " + path;
        return startable.count(path) > 0;
    }
};

// Answers from a script (cancel when it runs out); keeps every request shown.
struct FakeFileDialog final : IFileDialog {
    std::deque<std::optional<std::string>> answers;
    std::vector<FileDialogRequest> shown;

    std::optional<std::string> show(const FileDialogRequest& request) override {
        shown.push_back(request);
        return NextAnswer(answers, std::optional<std::string>());
    }
};

// Files and folders that exist only in memory.
struct FakeFileSystem final : IFileSystem {
    std::set<std::string> files;
    mutable std::set<std::string> folders;
    std::set<std::string> unmakeable; // folders makeFolder fails on
    std::set<std::string> readOnly;

    bool fileExists(const std::string& path) const override { return files.count(path) > 0; }
    bool pathExists(const std::string& path) const override {
        return fileExists(path) || folders.count(path) > 0;
    }
    bool canWrite(const std::string& path) const override {
        return pathExists(path) && readOnly.count(path) == 0;
    }
    bool makeFolder(const std::string& path) const override {
        if (unmakeable.count(path) || files.count(path))
            return false;
        folders.insert(path);
        return true;
    }
};

// Every service the wizard reaches, faked, with files that exist only in
// memory and the program in `programDir`.
struct FakeWizardServices {
    FakeMessageBox messages;
    FakeFileSystem files;
    FakeProgramLocation program;
    IniFile ini;
    FakeRegistry registry;
    FakeSerialPort ports;
    FakeGalderDownloadWindow galder;
    FakeShell shell;
    FakeWindowActivator windows;
    FakeFileDialog dialog;
    Settings settings;
    WizardServices services{messages, files, program, ini,    registry, ports,
                            &galder,  shell, windows, dialog, settings, {}};

    explicit FakeWizardServices(std::string programDir)
        : program(std::move(programDir), "addrix") {}
};

} // namespace addrix::test
