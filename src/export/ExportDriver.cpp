#include "export/ExportDriver.h"

#include "contact/ContactLine.h"
#include "export/ExportError.h"
#include "export/GalderExportJob.h"
#include "export/IWizardForm.h"
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

RecordCount RunSource(const ExportRequest& request, ILineSink& file, ExportContext& context) {
    switch (request.source) {
    case ExportSource::Galder:
        if (!context.galderWindow)
            throw ExportError("This program cannot read a Galder device");
        return RunGalderExport(file, request, *context.galderWindow, context.changes);
    case ExportSource::Ivro:
        return ReadIvroBackup(file, request.ivroFile, request.maxRecords, context.messages,
                              context.changes, context.cancelled);
    }
    throw ExportError("Unknown source");
}

// True when `path` names the backup file the Ivro source is to read.
bool IsTheBackupFile(const ExportRequest& request, const std::string& path) {
    std::error_code ec;
    return request.source == ExportSource::Ivro &&
           std::filesystem::equivalent(ToFsPath(path), ToFsPath(request.ivroFile), ec);
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
    void sourceOpened() override { m_file.sourceOpened(); }
    RecordCount lines() const { return m_lines; }

private:
    ILineSink& m_file;
    RecordCount m_lines = 0;
};

void ShowExportError(IMessageBox& messages, const std::string& description) {
    messages.show("Error Occurred", "Error occurred in DoExport\r\n" + description, MsgButtons::Ok,
                  MsgIcon::Critical);
}

} // namespace

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

RecordCount RunExport(const ExportRequest& request, ExportContext& context,
                      RecordCount* contactsInFile) {
    if (contactsInFile)
        *contactsInFile = 0;
    const std::string path = OutputPath(request.outputDir, request.outputFile);

    // An existing output is replaced only once the source has been opened.
    OutputFile file;
    try {
        // Never the backup about to be read.
        if (IsTheBackupFile(request, path))
            throw FileError(path);
        file.open(path);
    } catch (const FileError&) {
        context.messages.show("File Access Error",
                              "Could not open the file specified for writing\r\n"
                              "Please make sure you specified the correct directory and file "
                              "name.",
                              MsgButtons::Ok, MsgIcon::Critical);
        return kExportOpenFailed;
    }

    CountingSink contacts(file);
    const auto kept = [&] {
        if (contactsInFile)
            *contactsInFile = contacts.lines();
    };
    std::string description;
    try {
        file.writeLine(kNorvikCsvHeader);
        const RecordCount count = RunSource(request, contacts, context);
        // A full disk may only show when the last buffered lines are written.
        file.close();
        kept();
        return count;
    } catch (const std::bad_alloc&) {
        description = "Out of memory";
    } catch (const std::exception& error) {
        description = error.what();
    } catch (...) {
        description = "Unknown error";
    }
    // Keep what was written before the failure; a second failure while
    // closing adds nothing the user needs to know.
    try {
        file.close();
    } catch (const FileError&) {
    }
    kept();
    ShowExportError(context.messages, description);
    return kExportFailed;
}

RecordCount DoExport(ExportSource source, IWizardForm& wizard, ExportContext& context,
                     RecordCount* contactsInFile) {
    return RunExport(ReadExportRequest(source, wizard, context.settings), context, contactsInFile);
}

RecordCount DoExport(const std::string& sourceTag, IWizardForm& wizard, ExportContext& context) {
    const std::optional<ExportSource> source = ParseExportSource(sourceTag);
    if (!source) {
        ShowExportError(context.messages, "Unknown source '" + sourceTag + "'");
        return kExportFailed;
    }
    return DoExport(*source, wizard, context);
}

} // namespace addrix
