#pragma once

#include "contact/RecordLimit.h"
#include "export/ExportRequest.h"

#include <functional>
#include <string>

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

// The request the wizard's controls and the settings make for `source`.
ExportRequest ReadExportRequest(ExportSource source, const IWizardForm& wizard,
                                const Settings& settings);

// Runs one export: creates the output file, writes the header line, runs the
// source and closes the file. Returns the number of contacts written, or a
// negative result; every failure is shown in a message box. Never throws.
// `contactsInFile`, when given, gets the number of contact lines the file
// holds at the end, also after a failure.
RecordCount DoExport(const ExportRequest& request, ExportContext& context,
                     RecordCount* contactsInFile = nullptr);

// The export of the source named by `sourceTag` ("galder" or "ivro", any
// case) with the wizard's controls read once; another tag fails the export.
RecordCount DoExport(const std::string& sourceTag, const IWizardForm& wizard,
                     ExportContext& context);

} // namespace addrix
