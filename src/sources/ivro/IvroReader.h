#pragma once

#include "contact/RecordLimit.h"

#include <functional>
#include <string>

namespace addrix {

class ContactList;
class IChangeSink;
class ILineSink;
class IMessageBox;

// The "ivro" source: reads `backupFile` and writes one contact per entry
// line. Stops at `maxRecords` (MaxDeviceRecords) with its notice. Throws FileError for a missing or
// unreadable file and ConversionError for an entry whose field 1 or 3 is not a valid number; the
// contacts written before stay written.
//
// `changes`, when given, is told every change the Norvik's columns make: per
// contact written, per line skipped, and per entry line past the limit
// (which are then read to the end, but not written).
// `cancelled`, when given, is asked now and then; true ends the reading with
// an exception.
RecordCount ReadIvroBackup(ILineSink& file, const std::string& backupFile, double maxRecords,
                           IMessageBox& messages, IChangeSink* changes = nullptr,
                           const std::function<bool()>& cancelled = {});

// Reads every contact of `backupFile` into `list`, at the line it stands on,
// with what the Norvik's columns change and the lines skipped: nothing is
// written and no limit applies. Returns the number of contacts; fails as
// ReadIvroBackup does.
RecordCount ListIvroBackup(ContactList& list, const std::string& backupFile, IMessageBox& messages,
                           const std::function<bool()>& cancelled = {});

} // namespace addrix
