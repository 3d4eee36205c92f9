#include "sources/ivro/IvroReader.h"

#include "contact/ChangeReport.h"
#include "contact/ContactLine.h"
#include "platform/ByteScan.h"
#include "platform/IMessageBox.h"
#include "platform/NumberText.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <cstdint>
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

// The header test of a line read in pieces.
class HeaderMatch {
public:
    bool empty() const { return m_seen == 0; }
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
// checks as they come.
class IvroEntry {
public:
    ContactLineWriter contact;

    IvroEntry() { clear(); }

    void clear() {
        m_field = 0;
        lineStart.clear();
        m_numbers[0].clear();
        m_numbers[1].clear();
        contact.begin();
    }

    // With the change report: the line's first bytes, for a skipped line.
    bool keepLine = false;
    std::string lineStart;

    void add(std::string_view piece) {
        if (keepLine && lineStart.size() < kLineStartKept)
            lineStart.append(piece.substr(0, kLineStartKept - lineStart.size()));
        if (complete())
            return;
        const char* p = piece.data();
        const std::size_t n = piece.size();
        std::size_t start = 0;
        std::size_t i = 0;
        for (; i + 64 <= n; i += 64)
            for (auto tabs = Match64(p + i, '\t'); tabs; tabs &= tabs - 1) {
                const std::size_t tab = i + static_cast<std::size_t>(LowestBit64(tabs));
                if (endField(piece.substr(start, tab - start)))
                    return;
                start = tab + 1;
            }
        for (; i + 16 <= n; i += 16)
            for (auto tabs = Match16(p + i, '\t'); tabs; tabs &= tabs - 1) {
                const std::size_t tab = i + static_cast<std::size_t>(LowestBit(tabs));
                if (endField(piece.substr(start, tab - start)))
                    return;
                start = tab + 1;
            }
        for (; i < n; ++i)
            if (p[i] == '\t') {
                if (endField(piece.substr(start, i - start)))
                    return;
                start = i + 1;
            }
        route(piece.substr(start));
    }

    // True once the line has its 24 fields; what follows them is ignored.
    bool complete() const { return m_field == kEntryFields - 1; }

    // Fields 1 and 3 are numbers in the backup; an entry whose numbers do not
    // convert ends the export.
    void checkNumbers() const {
        static_cast<void>(m_numbers[0].toInt16());
        static_cast<void>(m_numbers[1].toByte());
    }

private:
    void route(std::string_view text) {
        if (text.empty())
            return;
        if (m_field == 0 || m_field == 2)
            m_numbers[m_field / 2].add(text);
        else if (kFieldColumns[m_field] != kUnused)
            contact.add(static_cast<Column>(kFieldColumns[m_field]), text);
    }
    // The last of a field's text has come; true when the line is complete.
    bool endField(std::string_view text) {
        route(text);
        ++m_field;
        return complete();
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

} // namespace

bool IsIvroHeader(std::string_view line) {
    return line.substr(0, 7) == "#Record" && line.find("Address") != std::string_view::npos;
}

RecordCount ReadIvroBackup(ILineSink& file, const std::string& backupFile, double maxRecords,
                           IMessageBox& messages, IChangeSink* changes,
                           const std::function<bool()>& cancelled) {
    TextFileReader backup;
    backup.open(backupFile);
    file.sourceOpened();

    RecordCount written = 0;
    bool headerSeen = false;
    bool overLimit = false;
    HeaderMatch header;
    IvroEntry entry;
    entry.keepLine = changes != nullptr;
    entry.contact.keepSources(changes != nullptr);
    std::string_view piece;
    bool lineEnds = false;
    std::int64_t lineNumber = 1; // of the line being read
    DecimalCount contactId('1');
    DecimalCount entryIndex('0');
    // A line not written: its number, the source's name fields, what happened.
    const auto unwritten = [&](ChangeKind kind, std::string sourceValue) {
        Change change;
        change.source = "ivro";
        change.position = lineNumber;
        const std::string_view first = entry.contact.sourceText(Column::FirstName);
        const std::string_view last = entry.contact.sourceText(Column::LastName);
        if (!first.empty() || !last.empty())
            change.name = std::string(first) + " " + std::string(last);
        change.kind = kind;
        change.sourceValue = std::move(sourceValue);
        changes->add(change);
    };
    std::uint32_t pieces = 0;
    for (; backup.readPiece(piece, lineEnds); lineNumber += lineEnds ? 1 : 0) {
        // Asked seldom: the question costs a system call.
        if (cancelled && (++pieces & 0xFFF) == 0 && cancelled())
            throw std::runtime_error("The export was cancelled");
        if (!headerSeen) {
            if (lineEnds && header.empty()) {
                headerSeen = IsIvroHeader(piece);
                continue;
            }
            header.add(piece);
            if (lineEnds) {
                headerSeen = header.matched();
                header = HeaderMatch();
            }
            continue;
        }
        entry.add(piece);
        if (!lineEnds)
            continue;
        if (!entry.complete()) {
            if (changes)
                unwritten(ChangeKind::Skipped, entry.lineStart);
            entry.clear();
            continue;
        }
        if (overLimit) {
            unwritten(ChangeKind::OverLimit, std::string());
            entry.clear();
            continue;
        }
        entry.checkNumbers();

        if (static_cast<double>(written) == maxRecords) {
            ShowRecordLimitNotice(messages);
            if (!changes)
                break;
            // The rest is read only to tell which entries were left out.
            overLimit = true;
            unwritten(ChangeKind::OverLimit, std::string());
            entry.clear();
            continue;
        }

        entry.contact.add(Column::ContactId, contactId.text());
        entry.contact.add(Column::EntryIndex, entryIndex.text());
        WriteContactLine(file, entry.contact);
        if (changes)
            ReportContactChanges(entry.contact, "ivro", lineNumber, *changes);
        ++written;
        contactId.advance();
        entryIndex.advance();
        entry.clear();
    }
    if (!headerSeen)
        messages.show("Error Occurred",
                      "The file holds no Ivro address book (no header line was found):\r\n" +
                          backupFile,
                      MsgButtons::Ok, MsgIcon::Critical);
    return written;
}

} // namespace addrix
