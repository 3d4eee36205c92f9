#pragma once

#include "contact/ChangeReport.h"
#include "contact/RecordLimit.h"
#include "export/ExportRequest.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace addrix {

class ContactList;
class IGalderDownloadWindow;
class IMessageBox;
class IWizardForm;
struct Settings;

// What an export session needs from the shell that runs it.
struct ExportServices {
    IMessageBox& messages;
    // The module variables: the record limit and the trace switch.
    const Settings& settings;
    // Runs the Galder download; none where no serial port can be used.
    IGalderDownloadWindow* galderWindow = nullptr;
    // True once the user asked to stop an Ivro conversion; none: it runs to the end.
    std::function<bool()> cancelled = {};
    // The program's own files (the settings file, the serial trace), which
    // no file the user names may replace.
    std::vector<std::string> ownFiles = {};
};

// What the shell may ask of one export besides its choices.
struct ExportOptions {
    // The record limit in place of the settings' MaxDeviceRecords.
    std::optional<double> maxRecords;
    // Where every change goes as CSV; empty: no report file.
    std::string reportFile;
    // Keep the changes' rows for the Changes window, not only their counts.
    bool keepChangeRows = false;
};

// How one export ended, for the shell to show.
struct ExportOutcome {
    // The export's result: contacts written, or kExportOpenFailed,
    // kExportFailed or the download's own negative result.
    RecordCount result = 0;
    std::string outputPath;
    // Contacts in the output after an export that ended well; after one that
    // did not, the contacts kept in `incompleteFile`.
    RecordCount contacts = 0;
    // Where a failed export kept the contacts it had read; "" when none.
    std::string incompleteFile;
    // An export of no contacts left the existing output as it was.
    bool outputKept = false;
    ChangeCounts changes;
    std::vector<Change> changeRows; // when asked for
    // Why the report file failed; empty when it did not (or none was asked).
    std::string reportError;
    // Positions chosen that the source does not have: nothing was written.
    std::vector<std::int64_t> lacking;
};

// One export as both shells run it: the user's choices (the wizard's
// controls, or the command line's options in their place) read once, the
// settings applied, the change report and counts attached, the export run
// and its outcome returned. The boxes the export shows go through the
// message-box service; the shell shows the outcome its own way.
class ExportSession {
public:
    ExportSession(ExportServices services, ExportOptions options = {});

    ExportOutcome run(ExportSource source, const IWizardForm& choices);
    // Writes the chosen contacts of `contacts`, read before, instead of
    // reading the source again; the record limit applies to them.
    ExportOutcome run(ExportSource source, const IWizardForm& choices, const ContactList& contacts);
    // A Galder download that writes only the records at `only` as they come
    // and reports the others left out; the record limit applies to those
    // written. Positions the device does not hold end it before its first
    // record, named in the outcome's `lacking`.
    ExportOutcome runChoosing(ExportSource source, const IWizardForm& choices,
                              const std::set<std::int64_t>& only);

private:
    ExportOutcome runExport(ExportSource source, const IWizardForm& choices,
                            const ContactList* contacts, const std::set<std::int64_t>* only);
    // Why `reportFile` may not be written: it names a file the export reads
    // or writes, or one of the program's own; "" when it may.
    std::string ReportRefusal(const ExportRequest& request, const std::string& outputPath) const;
    // Opens the report file asked for; false, with the box shown and the
    // outcome's error set, when it cannot be.
    bool OpenReport(const ExportRequest& request, std::optional<ChangeReportFile>& report,
                    ExportOutcome& outcome) const;

    ExportServices m_services;
    ExportOptions m_options;
};

} // namespace addrix
