#include "sources/ivro/IvroReader.h"

#include "contact/ChangeReport.h"
#include "contact/ContactLine.h"
#include "contact/ContactList.h"
#include "platform/ByteScan.h"
#include "platform/IMessageBox.h"
#include "platform/NumberText.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace addrix {

namespace {

constexpr std::size_t kEntryFields = 24;
// The bytes of a skipped line that the change report shows.
constexpr std::size_t kLineStartKept = 200;
constexpr int kUnused = -1;

// The column each field of an entry line fills, by field number less one.
// No field of the backup line is known to hold the home number.
constexpr int kFieldColumns[kEntryFields] = {
    kUnused,
    kUnused,
    kUnused,
    static_cast<int>(Column::FirstName),
    static_cast<int>(Column::LastName),
    kUnused,
    static_cast<int>(Column::WirelessAddress),
    static_cast<int>(Column::HomeEmail),
    static_cast<int>(Column::WorkEmail),
    kUnused,
    kUnused,
    static_cast<int>(Column::WorkPhone),
    static_cast<int>(Column::MobilePhone),
    static_cast<int>(Column::Fax),
    static_cast<int>(Column::Company),
    static_cast<int>(Column::Street),
    static_cast<int>(Column::City),
    static_cast<int>(Column::State),
    static_cast<int>(Column::Zip),
    kUnused,
    static_cast<int>(Column::Note),
    kUnused,
    kUnused,
    kUnused,
};

// The header test, on a line read in pieces: the line starts with "#Record"
// and holds "Address" somewhere.
class HeaderMatch {
public:
    void add(std::string_view piece) {
        for (std::size_t i = 0; m_seen < kStart.size() && i < piece.size(); ++i)
            m_startOk = m_startOk && piece[i] == kStart[m_seen++];
        if (!m_startOk || m_found)
            return;
        // The word may run across two pieces: the last bytes of the ones before
        // meet the first of this.
        std::string joint = m_tail;
        joint.append(piece.substr(0, kWord.size() - 1));
        m_found =
            joint.find(kWord) != std::string::npos || piece.find(kWord) != std::string_view::npos;
        m_tail.append(piece.substr(piece.size() - std::min(piece.size(), kWord.size() - 1)));
        m_tail.erase(0, m_tail.size() - std::min(m_tail.size(), kWord.size() - 1));
    }
    bool matched() const { return m_seen == kStart.size() && m_startOk && m_found; }

private:
    static constexpr std::string_view kStart = "#Record";
    static constexpr std::string_view kWord = "Address";
    std::size_t m_seen = 0;
    bool m_startOk = true;
    bool m_found = false;
    std::string m_tail;
};

// One entry line, read in pieces: its fields go to their columns and number
// fields as they come.
class IvroEntry {
public:
    ContactLineWriter contact;

    IvroEntry() { clear(); }

    void clear() {
        m_field = 0;
        lineStart.clear();
        extraFields = false;
        extraStart.clear();
        m_numbers[0].clear();
        m_numbers[1].clear();
        contact.begin();
    }

    // With the change report: the line's first bytes, for a skipped line.
    bool keepLine = false;
    std::string lineStart;
    // Fields past the entry's last (a lost line end joins two entries): the
    // first bytes that follow its last field's TAB, for the report.
    bool extraFields = false;
    std::string extraStart;

    void add(std::string_view piece) {
        if (keepLine && lineStart.size() < kLineStartKept)
            lineStart.append(piece.substr(0, kLineStartKept - lineStart.size()));
        if (complete()) {
            noteExtra(piece);
            return;
        }
        std::size_t start = 0;
        const bool ended = FindEach(piece, '\t', [&](std::size_t tab) {
            route(piece.substr(start, tab - start));
            start = tab + 1;
            ++m_field;
            return complete();
        });
        if (ended)
            noteExtra(piece.substr(start));
        else
            route(piece.substr(start));
    }

    // True once the line has its 24 fields; what follows them is ignored.
    bool complete() const { return m_field == kEntryFields - 1; }

    // Fields 1 and 3 are numbers in the backup; an entry whose numbers do not
    // convert ends the export.
    // `field` names the field checked last: 1 or 3.
    void checkNumbers(int& field) const {
        field = 1;
        static_cast<void>(m_numbers[0].toInt16());
        field = 3;
        static_cast<void>(m_numbers[1].toByte());
    }

private:
    // What follows the last field: another TAB starts fields no entry has.
    void noteExtra(std::string_view rest) {
        if (!extraFields) {
            if (rest.find('\t') == std::string_view::npos)
                return;
            extraFields = true;
        }
        if (keepLine && extraStart.size() < kLineStartKept)
            extraStart.append(rest.substr(0, kLineStartKept - extraStart.size()));
    }

    void route(std::string_view text) {
        if (text.empty())
            return;
        if (m_field == 0 || m_field == 2)
            m_numbers[m_field / 2].add(text);
        else if (kFieldColumns[m_field] != kUnused)
            contact.add(static_cast<Column>(kFieldColumns[m_field]), text);
    }

    std::size_t m_field = 0;
    NumberField m_numbers[2];
};

// A count as decimal text, counted up in place.
class DecimalCount {
public:
    explicit DecimalCount(char start) { m_digits[kSize - 1] = start; }
    std::string_view text() const { return {m_digits + m_first, kSize - m_first}; }
    void advance() {
        std::size_t i = kSize;
        while (i > m_first && m_digits[i - 1] == '9')
            m_digits[--i] = '0';
        if (i == m_first)
            m_digits[--m_first] = '1';
        else
            ++m_digits[i - 1];
    }

private:
    static constexpr std::size_t kSize = 12; // wider than any record count
    char m_digits[kSize] = {};
    std::size_t m_first = kSize - 1;
};

// One reading of a backup file, handed its lines piece by piece.
class BackupReading {
public:
    // With `list`, every contact goes there instead of to `file`.
    BackupReading(ILineSink* file, ContactList* list, std::string path, double maxRecords,
                  IMessageBox& messages, IChangeSink* changes)
        : m_file(file), m_list(list), m_path(std::move(path)), m_maxRecords(maxRecords),
          m_messages(messages), m_changes(changes) {
        m_entry.keepLine = changes != nullptr;
        m_entry.contact.keepSources(changes != nullptr);
    }

    // Takes the next piece of a line; false when the reading ends here.
    bool take(std::string_view piece, bool lineEnds) {
        bool more = true;
        if (!m_headerSeen) {
            m_header.add(piece);
            if (lineEnds) {
                m_headerSeen = m_header.matched();
                m_header = HeaderMatch();
            }
        } else {
            m_entry.add(piece);
            if (lineEnds) {
                more = endEntryLine();
                m_entry.clear();
            } else if (m_changes) {
                // The next read reuses the piece's bytes.
                m_entry.contact.holdSources();
            }
        }
        m_lineNumber += lineEnds ? 1 : 0;
        return more;
    }

    bool headerSeen() const { return m_headerSeen; }
    RecordCount written() const { return m_written; }

private:
    bool endEntryLine() {
        if (!m_entry.complete()) {
            if (m_changes)
                reportUnwritten(ChangeKind::Skipped, m_entry.lineStart);
            return true;
        }
        if (m_overLimit) {
            reportUnwritten(ChangeKind::OverLimit, std::string());
            return true;
        }
        checkNumbers();
        if (IvroLimitReached(m_written, m_maxRecords)) {
            ShowRecordLimitNotice(m_messages);
            if (!m_changes)
                return false;
            // The rest is read only to tell which entries were left out.
            m_overLimit = true;
            reportUnwritten(ChangeKind::OverLimit, std::string());
            return true;
        }
        writeEntry();
        // The fields past the entry's last are not written: the report says so.
        if (m_entry.extraFields && m_changes) {
            reportUnwritten(ChangeKind::Shortened, m_entry.extraStart);
        }
        return true;
    }

    // A number that does not convert ends the export, naming its place.
    void checkNumbers() const {
        int field = 0;
        try {
            m_entry.checkNumbers(field);
        } catch (const ConversionError& error) {
            throw std::runtime_error(std::string(error.what()) + "\r\nLine " +
                                     std::to_string(m_lineNumber) + ", field " +
                                     std::to_string(field) + " of " + m_path);
        }
    }

    void writeEntry() {
        ContactLineWriter& contact = m_entry.contact;
        contact.add(Column::ContactId, m_contactId.text());
        contact.add(Column::EntryIndex, m_entryIndex.text());
        if (m_list)
            m_list->take(contact, m_lineNumber);
        else
            WriteContactLine(*m_file, contact);
        if (m_changes)
            ReportContactChanges(contact, "ivro", m_lineNumber, *m_changes);
        ++m_written;
        m_contactId.advance();
        m_entryIndex.advance();
    }

    // A line not written: its number, the source's name fields, what happened.
    void reportUnwritten(ChangeKind kind, std::string sourceValue) {
        const std::string_view first = m_entry.contact.sourceText(Column::FirstName);
        const std::string_view last = m_entry.contact.sourceText(Column::LastName);
        Change change =
            ContactRow("ivro", m_lineNumber,
                       first.empty() && last.empty() ? std::string()
                                                     : std::string(first) + " " + std::string(last),
                       kind);
        change.sourceValue = std::move(sourceValue);
        m_changes->add(change);
    }

    ILineSink* m_file;
    ContactList* m_list;
    std::string m_path;
    double m_maxRecords;
    IMessageBox& m_messages;
    IChangeSink* m_changes;
    RecordCount m_written = 0;
    bool m_headerSeen = false;
    bool m_overLimit = false;
    std::int64_t m_lineNumber = 1; // of the line being read
    HeaderMatch m_header;
    IvroEntry m_entry;
    DecimalCount m_contactId{'1'};
    DecimalCount m_entryIndex{'0'};
};

// Hands the backup's lines to `reading`, piece by piece.
RecordCount Read(BackupReading& reading, const std::string& backupFile, IMessageBox& messages,
                 const std::function<bool()>& cancelled) {
    TextFileReader backup;
    backup.open(backupFile);
    std::string_view piece;
    bool lineEnds = false;
    std::uint32_t pieces = 0;
    while (backup.readPiece(piece, lineEnds)) {
        // Asked seldom: the question costs a system call.
        if (cancelled && (++pieces & 0xFFF) == 0 && cancelled())
            throw std::runtime_error("The export was cancelled");
        if (!reading.take(piece, lineEnds))
            break;
    }
    if (!reading.headerSeen())
        messages.show("Error Occurred",
                      "The file holds no Ivro address book (no header line was found):\r\n" +
                          backupFile,
                      MsgButtons::Ok, MsgIcon::Critical);
    return reading.written();
}

} // namespace

RecordCount ReadIvroBackup(ILineSink& file, const std::string& backupFile, double maxRecords,
                           IMessageBox& messages, IChangeSink* changes,
                           const std::function<bool()>& cancelled) {
    BackupReading reading(&file, nullptr, backupFile, maxRecords, messages, changes);
    return Read(reading, backupFile, messages, cancelled);
}

RecordCount ListIvroBackup(ContactList& list, const std::string& backupFile, IMessageBox& messages,
                           const std::function<bool()>& cancelled) {
    BackupReading reading(nullptr, &list, backupFile, std::numeric_limits<double>::infinity(),
                          messages, &list);
    return Read(reading, backupFile, messages, cancelled);
}

} // namespace addrix
