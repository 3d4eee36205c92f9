#include "wizard/WizardTexts.h"

#include "platform/NumberText.h"

namespace addrix {

std::string MaxRecordsCaption(double maxRecords) {
    const std::string n = FormatNumber(maxRecords);
    return "The Norvik can only hold " + n +
           " address records max.  If you attempt to load more than " + n +
           " address records from your source, the extra records will not be exported.";
}

std::string RecordsExportedText(RecordCount count) {
    if (count <= 0)
        return {};
    if (count == 1)
        return "1 record exported.";
    return std::to_string(count) + " records exported.";
}

std::string ExportedFileText(const std::string& path) {
    return "The address records were written to:\r\n" + path;
}

std::string KeptContactsText(RecordCount count, const std::string& path) {
    return std::to_string(count) + (count == 1 ? " contact" : " contacts") +
           " read before the failure were kept in " + path + ".";
}

std::string ChosenText(RecordCount chosen, double maxRecords) {
    return std::to_string(chosen) + " of " + FormatNumber(maxRecords) + " chosen";
}

} // namespace addrix
