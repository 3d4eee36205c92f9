#pragma once

#include "contact/RecordLimit.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace addrix {

class IChangeSink;
class IGalderDownloadWindow;
class IMessageBox;
class IWizardForm;
struct Settings;

// Results of an export besides its count of records. A Galder download that
// failed (-1) or was cancelled (-2) passes its own result on.
inline constexpr RecordCount kExportOpenFailed = -1; // the output file could not be created
inline constexpr RecordCount kExportFailed = -2;     // another error ended the export

enum class ExportSource { Galder, Ivro };

// The source a tag names: "galder" or "ivro", in any case.
std::optional<ExportSource> ParseExportSource(std::string_view tag);

// Everything one export is given, as values.
struct ExportRequest {
    ExportSource source = ExportSource::Ivro;
    std::string outputDir;
    std::string outputFile;
    std::string ivroFile;    // the backup file the Ivro source reads
    int portNumber = 0;      // COMn of the Galder cradle; 0 when none is selected
    int emailOption = 0;     // the Galder e-mail's column: 0 work, 1 home, other: none
    double maxRecords = 250; // MaxDeviceRecords
    bool trace = false;      // Debug: the Galder exchange is traced
};

// What an export needs besides its request.
struct ExportContext {
    IMessageBox& messages;
    const Settings& settings;
    // Runs the Galder download; the Galder source fails without one.
    IGalderDownloadWindow* galderWindow = nullptr;
    // Told every change the Norvik's columns make; none: nobody asks.
    IChangeSink* changes = nullptr;
    // True once the user asked to stop an Ivro conversion (Ctrl-C on the
    // command line); none: it runs to the end.
    std::function<bool()> cancelled = {};
};

// The output path: `dir`, one separator unless it ends in one, `fileName`.
std::string OutputPath(const std::string& dir, const std::string& fileName);

// The request the wizard's controls and the settings make for `source`.
ExportRequest ReadExportRequest(ExportSource source, const IWizardForm& wizard,
                                const Settings& settings);

// Runs one export: creates the output file, writes the header line, runs the
// source and closes the file. Returns the number of contacts written, or a
// negative result; every failure is shown in a message box. Never throws.
// `contactsInFile`, when given, gets the number of contact lines the file
// holds at the end, also after a failure.
RecordCount RunExport(const ExportRequest& request, ExportContext& context,
                      RecordCount* contactsInFile = nullptr);

// The export as the wizard starts it: reads the wizard's controls once and
// runs `source`; `contactsInFile` as for RunExport.
RecordCount DoExport(ExportSource source, IWizardForm& wizard, ExportContext& context,
                     RecordCount* contactsInFile = nullptr);
// The same for the source named by `sourceTag` ("galder" or "ivro", any
// case); another tag fails the export.
RecordCount DoExport(const std::string& sourceTag, IWizardForm& wizard, ExportContext& context);

} // namespace addrix
