#include "sources/ivro/IvroReader.h"

#include "contact/ContactLine.h"
#include "platform/IMessageBox.h"
#include "platform/NumberText.h"
#include "platform/TextFile.h"

#include <array>
#include <string>

namespace addrix {

namespace {

constexpr std::size_t kEntryFields = 24;

// The first 24 TAB-separated fields of `line`; false when it has fewer.
bool SplitEntry(std::string_view line, std::array<std::string_view, kEntryFields>& fields) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < kEntryFields; ++i) {
        if (start > line.size())
            return false;
        const std::size_t tab = line.find('\t', start);
        const std::size_t end = tab == std::string_view::npos ? line.size() : tab;
        fields[i] = line.substr(start, end - start);
        start = tab == std::string_view::npos ? line.size() + 1 : tab + 1;
    }
    return true;
}

} // namespace

bool IsIvroHeader(std::string_view line) {
    return line.substr(0, 7) == "#Record" && line.find("Address") != std::string_view::npos;
}

RecordCount ReadIvroBackup(ILineSink& file, const std::string& backupFile, double maxRecords,
                           IMessageBox& messages) {
    TextFileReader backup;
    backup.open(backupFile);

    RecordCount written = 0;
    bool headerSeen = false;
    std::string line;
    std::array<std::string_view, kEntryFields> f;
    while (backup.readLine(line)) {
        if (!headerSeen) {
            headerSeen = IsIvroHeader(line);
            continue;
        }
        if (!SplitEntry(line, f))
            continue;
        // Fields 1 and 3 are numbers in the backup; an entry whose numbers
        // do not convert ends the export.
        TextToInt16(f[0]);
        TextToByte(f[2]);

        if (static_cast<double>(written) == maxRecords) {
            ShowRecordLimitNotice(messages);
            break;
        }

        ContactRecord contact;
        contact.ContactId = std::to_string(written + 1);
        contact.EntryIndex = std::to_string(written);
        contact.DefaultAddress = "1";
        contact.FirstName = f[3];
        contact.LastName = f[4];
        contact.WirelessAddress = f[6];
        contact.HomeEmail = f[7];
        contact.WorkEmail = f[8];
        contact.WorkPhone = f[11];
        contact.MobilePhone = f[12];
        contact.Fax = f[13];
        contact.Company = f[14];
        contact.Street = f[15];
        contact.City = f[16];
        contact.State = f[17];
        contact.Zip = f[18];
        contact.Note = f[20];
        // No field of the backup line is known to hold the home number.

        WriteContactLine(file, contact);
        ++written;
    }
    return written;
}

} // namespace addrix
