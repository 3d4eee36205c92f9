#pragma once

#include "contact/RecordLimit.h"
#include "export/ExportRequest.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace addrix {

class ContactList;
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
    // Called once the source ended well, just before the output takes its
    // place; a FileError it throws fails the export with the output as it was.
    std::function<void()> beforePlacing = {};
    // Writes the chosen contacts of this list, read before, in place of
    // reading the source again.
    const ContactList* contacts = nullptr;
    // A Galder download writes only the records at these positions, as they
    // come; the others are told to `changes` as left out.
    const std::set<std::int64_t>* only = nullptr;
    // Told the positions of `only` that the device does not hold: the
    // download then ends before its first record and the export fails
    // without a box, for the caller to name them.
    std::vector<std::int64_t>* lacking = nullptr;
};

// The request the wizard's controls and the settings make for `source`.
ExportRequest ReadExportRequest(ExportSource source, const IWizardForm& wizard,
                                const Settings& settings);

// What an export left on disk besides its result.
struct ExportKept {
    // Contacts in the output after an export that ended well; after one that
    // did not, the contacts kept in `incompleteFile`.
    RecordCount contacts = 0;
    // Where a failed export kept the contacts it had read; "" when none.
    std::string incompleteFile;
    // An export of no contacts left the existing output as it was.
    bool outputKept = false;
};

// Runs one export: writes the header line and the source's contacts to a
// file that takes the output's place only when the source ended well (read
// to its end or to the record limit) and, where a file existed, wrote at
// least one contact. Returns the number of contacts written, or a negative
// result; every failure is shown in a message box. Never throws.
RecordCount DoExport(const ExportRequest& request, ExportContext& context,
                     ExportKept* kept = nullptr);

// Reads the source `request` names into `list` (made afresh) without
// writing anything: every contact, with what the Norvik's columns change, no
// limit. Returns the number of contacts listed, or a negative result; every
// failure is shown in a message box. Never throws.
RecordCount ListContacts(const ExportRequest& request, ExportContext& context, ContactList& list);

// The export of the source named by `sourceTag` ("galder" or "ivro", any
// case) with the wizard's controls read once; another tag fails the export.
RecordCount DoExport(const std::string& sourceTag, const IWizardForm& wizard,
                     ExportContext& context);

} // namespace addrix
