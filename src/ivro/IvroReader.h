#pragma once

#include "export/ExportDriver.h"

#include <string>
#include <string_view>

namespace addrix {

class ILineSink;
class IWizardForm;

// True for the line that ends the leading lines of a backup file: it starts
// with "#Record" and holds "Address" somewhere.
bool IsIvroHeader(std::string_view line);

// The "ivro" source: reads the backup file named by the wizard's txtIvroFile
// and writes one contact per entry line. Stops at the record limit with its
// notice. Throws FileError for a missing or unreadable file and
// ConversionError for an entry whose field 1 or 3 is not a valid number; the
// contacts written before stay written.
RecordCount ReadIvroBackup(ILineSink& file, IWizardForm& wizard, ExportContext& context);

} // namespace addrix
