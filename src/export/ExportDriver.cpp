#include "export/ExportDriver.h"

#include "contact/ContactLine.h"
#include "contact/ContactList.h"
#include "export/ExportError.h"
#include "export/GalderExportJob.h"
#include "export/IWizardForm.h"
#include "export/ListExport.h"
#include "platform/FilePath.h"
#include "platform/IMessageBox.h"
#include "platform/OutputFile.h"
#include "platform/PathUtil.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "settings/Settings.h"
#include "sources/ivro/IvroReader.h"

#include <filesystem>
#include <new>

namespace addrix {

namespace {

IGalderDownloadWindow& GalderWindow(const ExportContext& context) {
    if (!context.galderWindow)
        throw ExportError("This program cannot read a Galder device");
    return *context.galderWindow;
}

RecordCount RunSource(const ExportRequest& request, ILineSink& file, ExportContext& context) {
    if (context.contacts)
        return WriteContactList(file, *context.contacts, request.maxRecords, context.messages,
                                context.changes);
    switch (request.source) {
    case ExportSource::Galder: {
        GalderDownload download;
        download.changes = context.changes;
        download.only = context.only;
        download.lacking = context.lacking;
        return RunGalderExport(file, request, GalderWindow(context), download);
    }
    case ExportSource::Ivro:
        // A backup is chosen from once it is listed.
        if (context.only)
            throw ExportError("The backup's contacts are chosen from its list");
        return ReadIvroBackup(file, request.ivroFile, request.maxRecords, context.messages,
                              context.changes, context.cancelled);
    }
    throw ExportError("Unknown source");
}

// Takes the lines of a download that only lists.
class NoLines final : public ILineSink {
public:
    void writeLine(const std::string&) override {}
    void flush() override {}
};

RecordCount ListSource(const ExportRequest& request, ExportContext& context, ContactList& list) {
    list = ContactList(ExportSourceName(request.source));
    if (request.source == ExportSource::Ivro)
        return ListIvroBackup(list, request.ivroFile, context.messages, context.cancelled);
    NoLines none;
    GalderDownload download;
    download.list = &list;
    return RunGalderExport(none, request, GalderWindow(context), download);
}

// True when `path` names the backup file the Ivro source is to read.
bool IsTheBackupFile(const ExportRequest& request, const std::string& path) {
    return request.source == ExportSource::Ivro && NamesSameFile(path, request.ivroFile);
}

// Counts the lines that reach the file.
class CountingSink final : public ILineSink {
public:
    explicit CountingSink(ILineSink& file) : m_file(file) {}
    void writeLine(const std::string& line) override {
        m_file.writeLine(line);
        ++m_lines;
    }
    void flush() override { m_file.flush(); }
    RecordCount lines() const { return m_lines; }

private:
    ILineSink& m_file;
    RecordCount m_lines = 0;
};

void ShowExportError(IMessageBox& messages, const std::string& description) {
    messages.show("Error Occurred", "Error occurred in DoExport\r\n" + description, MsgButtons::Ok,
                  MsgIcon::Critical);
}

// The output cannot be written: the box, with the path and the reason on a
// line of their own.
RecordCount OutputRefused(IMessageBox& messages, const std::string& reason) {
    messages.show("File Access Error",
                  "Could not open the file specified for writing\r\n"
                  "Please make sure you specified the correct directory and file name.\r\n" +
                      reason,
                  MsgButtons::Ok, MsgIcon::Critical);
    return kExportOpenFailed;
}

// How the source's run into the output ended.
struct SourceRun {
    RecordCount count = kExportFailed; // the source's result
    bool placed = false;               // the lines took the output's place
    std::string failure;               // what ended the run; "" when nothing did
};

// Runs `work`; what ended it, or "" when nothing did.
template <typename Work> std::string FailureOf(Work&& work) {
    try {
        work();
        return {};
    } catch (const std::bad_alloc&) {
        return "Out of memory";
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "Unknown error";
    }
}

// Runs the source into `file` behind its header, and puts the lines in place
// when it ended well.
SourceRun RunInto(OutputFile& file, CountingSink& contacts, const ExportRequest& request,
                  ExportContext& context) {
    SourceRun run;
    run.failure = FailureOf([&] {
        file.writeLine(kNorvikCsvHeader);
        run.count = RunSource(request, contacts, context);
        // An export of no contacts creates the file, but never empties one.
        if (run.count > 0 || (run.count == 0 && !file.replaces())) {
            if (context.beforePlacing)
                context.beforePlacing();
            file.commit(); // a full disk may show only now
            run.placed = true;
        }
    });
    if (!run.failure.empty())
        run.count = kExportFailed;
    return run;
}

} // namespace

const char* ExportSourceName(ExportSource source) {
    return source == ExportSource::Galder ? "galder" : "ivro";
}

std::optional<ExportSource> ParseExportSource(std::string_view tag) {
    const std::string lower = AsciiLower(std::string(tag));
    if (lower == "galder")
        return ExportSource::Galder;
    if (lower == "ivro")
        return ExportSource::Ivro;
    return std::nullopt;
}

std::string OutputPath(const std::string& dir, const std::string& fileName) {
    return WithTrailingSeparator(dir) + fileName;
}

ExportRequest ReadExportRequest(ExportSource source, const IWizardForm& wizard,
                                const Settings& settings) {
    ExportRequest request;
    request.source = source;
    request.outputDir = wizard.txtDir();
    request.outputFile = wizard.txtFileName();
    request.ivroFile = wizard.txtIvroFile();
    const int portIndex = wizard.lstGalderCommPortIndex();
    if (portIndex >= 0 && portIndex < wizard.lstGalderCommPortCount())
        request.portNumber = wizard.lstGalderCommPortItemData(portIndex);
    request.emailOption = wizard.lstGalderEmailIndex();
    request.maxRecords = settings.MaxDeviceRecords;
    request.trace = settings.DebugEnabled;
    return request;
}

RecordCount DoExport(const ExportRequest& request, ExportContext& context, ExportKept* kept) {
    ExportKept result;
    const std::string path = OutputPath(request.outputDir, request.outputFile);
    OutputFile file;
    try {
        // Never the backup about to be read.
        if (IsTheBackupFile(request, path))
            throw FileError(path + " is the backup file being read");
        file.open(path);
    } catch (const FileError& error) {
        return OutputRefused(context.messages, error.what());
    }

    CountingSink contacts(file);
    const SourceRun run = RunInto(file, contacts, request, context);
    if (run.placed) {
        result.contacts = contacts.lines();
    } else {
        // The output stays as it was; what a failure had read is kept apart.
        const KeptLines lines = file.abandon(run.count != 0, 1);
        result.contacts = lines.path.empty() ? 0 : static_cast<RecordCount>(lines.lines - 1);
        result.incompleteFile = lines.path;
        result.outputKept = run.count == 0;
    }
    if (kept)
        *kept = result;
    if (!run.failure.empty())
        ShowExportError(context.messages, run.failure);
    return run.count;
}

RecordCount ListContacts(const ExportRequest& request, ExportContext& context, ContactList& list) {
    RecordCount count = kExportFailed;
    const std::string failure = FailureOf([&] { count = ListSource(request, context, list); });
    if (failure.empty())
        return count;
    ShowExportError(context.messages, failure);
    return kExportFailed;
}

RecordCount DoExport(const std::string& sourceTag, const IWizardForm& wizard,
                     ExportContext& context) {
    const std::optional<ExportSource> source = ParseExportSource(sourceTag);
    if (!source) {
        ShowExportError(context.messages, "Unknown source '" + sourceTag + "'");
        return kExportFailed;
    }
    return DoExport(ReadExportRequest(*source, wizard, context.settings), context);
}

} // namespace addrix
