#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace addrix {

class OutputFile;

// What the Norvik's columns did to a contact, one row per change.
enum class ChangeKind : std::uint8_t {
    Shortened, // the column's width cut characters off
    Changed,   // a clean-up altered the value (commas, phone, PIN, ZIP, control bytes)
    Filled,    // a rule filled an empty name ("Unknown", the company)
    Skipped,   // an Ivro line with too few fields
    OverLimit, // not written because of the record limit
    Merged,    // a duplicate's value filled an empty column of the contact kept, or was dropped
    LeftOut,   // a contact the user did not choose
};

// "shortened", "changed", "filled", "skipped", "over-limit", "merged", "left out".
const char* ChangeKindName(ChangeKind kind);

struct Change {
    const char* source = "";   // "ivro" or "galder"
    std::int64_t position = 0; // Ivro: the line in the backup; Galder: the record, from 1
    std::string contactId;     // as written; empty for a contact not written
    std::string name;          // FIRST_NAME and LAST_NAME joined by a blank
    std::string column;        // the Norvik column's name; empty for a whole contact or line
    ChangeKind kind = ChangeKind::Changed;
    std::string sourceValue;
    std::string writtenValue;
};

// A row about a whole contact: no CONTACT_ID, column or values.
Change ContactRow(const char* source, std::int64_t position, std::string name, ChangeKind kind);

// Where a source reports its changes, in the order of the report.
class IChangeSink {
public:
    virtual ~IChangeSink() = default;
    // False when only the kind of each change counts: the source then calls
    // `tally` instead of building the row.
    virtual bool wantsRows() const { return true; }
    virtual void add(const Change& change) = 0;
    virtual void tally(ChangeKind kind) { add(Change{"", 0, {}, {}, {}, kind, {}, {}}); }
};

// How many changes of each kind.
struct ChangeCounts {
    std::int64_t shortened = 0;
    std::int64_t changed = 0;
    std::int64_t filled = 0;
    std::int64_t skipped = 0;
    std::int64_t overLimit = 0;
    std::int64_t merged = 0;
    std::int64_t leftOut = 0;

    void count(ChangeKind kind);
    std::int64_t total() const {
        return shortened + changed + filled + skipped + overLimit + merged + leftOut;
    }
};

// "Changes: 3 shortened, 12 changed, 1 filled, 2 skipped, 0 over the limit."
// Merged and left-out contacts follow when there are any (", 2 merged, 5 left out").
std::string ChangeSummary(const ChangeCounts& counts);

// One CSV line of `fields`, each in double quotes (a quote doubled inside),
// their bytes as they are: the report's quoting.
std::string QuotedCsvLine(std::initializer_list<std::string_view> fields);

// The report file: this header line, then one line per change, every field in
// double quotes (a quote doubled inside), the values' bytes as they are.
inline constexpr const char* kChangeReportHeader =
    "SOURCE,POSITION,CONTACT_ID,NAME,COLUMN,CHANGE,SOURCE_VALUE,WRITTEN_VALUE";
std::string ChangeReportLine(const Change& change);

// Counts the changes and, when asked to, keeps the rows of contacts that
// were written, the most a window shows; rows about lines or records never
// written are only counted.
class ChangeCollector final : public IChangeSink {
public:
    explicit ChangeCollector(bool keepRows = true) : m_keepRows(keepRows) {}
    bool wantsRows() const override { return m_keepRows; }
    void add(const Change& change) override;
    void tally(ChangeKind kind) override { m_counts.count(kind); }
    const ChangeCounts& counts() const { return m_counts; }
    const std::vector<Change>& rows() const { return m_rows; }

private:
    bool m_keepRows;
    ChangeCounts m_counts;
    std::vector<Change> m_rows;
};

// The report file, streamed: the header line when opened, then one line per
// change. Like the export's output, it takes the place of an existing file
// only at `commit`. A write failure throws FileError.
class ChangeReportFile final : public IChangeSink {
public:
    ChangeReportFile();
    ~ChangeReportFile() override;
    ChangeReportFile(const ChangeReportFile&) = delete;
    ChangeReportFile& operator=(const ChangeReportFile&) = delete;

    // Starts the report for `path` and writes the header. Throws FileError.
    void open(const std::string& path);
    void add(const Change& change) override;
    // Puts the report in place. Throws FileError when its lines could not be
    // written or put in place; an existing file is then as it was.
    void commit();
    // Drops the report; an existing file stays as it was.
    void abandon();

private:
    std::unique_ptr<OutputFile> m_file;
};

// Hands every change to two sinks.
class ChangeTee final : public IChangeSink {
public:
    ChangeTee(IChangeSink& first, IChangeSink& second) : m_first(first), m_second(second) {}
    bool wantsRows() const override { return m_first.wantsRows() || m_second.wantsRows(); }
    void tally(ChangeKind kind) override {
        m_first.tally(kind);
        m_second.tally(kind);
    }
    void add(const Change& change) override {
        m_first.add(change);
        m_second.add(change);
    }

private:
    IChangeSink& m_first;
    IChangeSink& m_second;
};

} // namespace addrix
