#pragma once

#include "contact/RecordLimit.h"

#include <string>

namespace addrix {

// The texts of the wizard's pages, with their CR LF line breaks.
inline constexpr const char* kWelcomeGalder =
    "Welcome to the Halvern Norvik Addrix.\r\n"
    "This program will create an address book file compatible with a Norvik device from your "
    "existing Galder device or Ivro device.\r\n"
    "After the file is created, the Norvik Manager program will have to be used to restore the "
    "file to your Norvik.\r\n"
    "The following simple steps will guide you through the process and you will be on your way "
    "to a seamless transition to using your Norvik device.";

inline constexpr const char* kWelcomeIvroOnly =
    "Welcome to the Halvern Norvik Addrix.\r\n"
    "This program will create an address book file compatible with a Norvik device from your "
    "existing Ivro device.\r\n"
    "After the file is created, the Norvik Manager program will have to be used to restore the "
    "file to your Norvik.\r\n"
    "The following simple steps will guide you through the process and you will be on your way "
    "to a seamless transition to using your Norvik device.";

inline constexpr const char* kGalderExpl =
    "The fields in the Galder do not match the fields in the Norvik in number or definition.  "
    "Use the mapping guide below to define your conversion preferences.";

inline constexpr const char* kDeleteWarning =
    "Loading the file this software creates to the target device will replace any contacts "
    "currently in the device with the ones exported from the source.";

inline constexpr const char* kExportPrompt =
    "I have all the information needed to create an address book file for the Norvik.  Click "
    "next to perform the export.  After the export is complete, you will need to run the Norvik "
    "Manager program to load the exported file into the Norvik.";

inline constexpr const char* kConfirmGalder =
    "Before Clicking Next, verify the Galder is in the programming "
    "cradle and powered on.";

inline constexpr const char* kCompleteGood =
    "The export is complete.  You can now load the exported address "
    "records into the Norvik using the Norvik Manager program.";

inline constexpr const char* kCompleteBad =
    "The export did not complete successfully.  The export file is not complete or contains 0 "
    "records and therefore should not be loaded into the Norvik.  You will have to exit this "
    "program and try again.";

// The caption of lblMaxRecords for a record limit of `maxRecords`.
std::string MaxRecordsCaption(double maxRecords);

// The text of the count box after an export of `count` records: "1 record
// exported.", "N records exported."; empty when there is nothing to report.
std::string RecordsExportedText(RecordCount count);

// The completion page's line naming the file written: "The address records
// were written to:" and the path on a line of its own.
std::string ExportedFileText(const std::string& path);

// Where a failed export kept what it had read: "12 contacts read before the
// failure were kept in <path>."
std::string KeptContactsText(RecordCount count, const std::string& path);

// The Contacts window's counter: "212 of 250 chosen".
std::string ChosenText(RecordCount chosen, double maxRecords);

} // namespace addrix
