#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace addrix {

class IChangeSink;
class ILineSink;

// The 22 columns of a Norvik line, in their order.
enum class Column : std::uint8_t {
    ContactId,
    EntryIndex,
    GroupOrPersonal,
    FirstName,
    LastName,
    WirelessAddress,
    WorkEmail,
    HomeEmail,
    DefaultAddress,
    GroupOfWirelessAddress,
    GroupOfWorkEmail,
    GroupOfHomeEmail,
    Company,
    HomePhone,
    WorkPhone,
    MobilePhone,
    Fax,
    Street,
    City,
    State,
    Zip,
    Note,
};
inline constexpr std::size_t kColumnCount = 22;

// The columns a source fills, in their order; the others are numbered or fixed.
inline constexpr std::array<Column, 15> kSourceColumns = {
    Column::FirstName, Column::LastName,  Column::WirelessAddress,
    Column::WorkEmail, Column::HomeEmail, Column::Company,
    Column::HomePhone, Column::WorkPhone, Column::MobilePhone,
    Column::Fax,       Column::Street,    Column::City,
    Column::State,     Column::Zip,       Column::Note};

// DEFAULT_ADDRESS of a contact whose address columns are empty or not: "1"
// for a wireless address, else "2" for a work e-mail, else "3" for a home
// e-mail, else "1".
inline char PreferredAddress(bool wireless, bool workEmail, bool homeEmail) {
    return wireless ? '1' : workEmail ? '2' : homeEmail ? '3' : '1';
}

// Line 1 of every Norvik address-book file: the columns' names.
inline constexpr const char* kNorvikCsvHeader =
    "CONTACT_ID,ENTRY_INDEX,GROUP_OR_PERSONAL,FIRST_NAME,LAST_NAME,WIRELESS_ADDRESS,WORK_EMAIL,"
    "HOME_EMAIL,DEFAULT_ADDRESS,GROUP_OF_WIRELESS_ADDRESS,GROUP_OF_WORK_EMAIL,GROUP_OF_HOME_EMAIL,"
    "COMPANY,HOME_PHONE,WORK_PHONE,MOBILE_PHONE,FAX,STREET,CITY,STATE,ZIP,NOTE";

// What the normalisation did to one column of the last contact.
struct ColumnFacts {
    bool shortened = false; // text past the column's width was left out
    bool cleaned = false;   // a clean-up changed, dropped or trimmed a byte of the kept text
    bool defaulted = false; // a rule's text stands in for the source's: "Unknown", the
                            // company as last name, "1" as default address without one
};

// Normalises contacts into lines, one contact at a time, in buffers it
// reuses: a source hands over each column's text, in one piece or in
// several, and takes the line. Of a column's text only what its width keeps
// is held, so a column may be any length. Every column not handed over is
// empty.
//
// The rules, column by column: the names, WIRELESS_ADDRESS, the e-mails,
// COMPANY, STREET, CITY, STATE and NOTE have every CR, LF, CR LF, LF CR and
// TAB made one space and their spaces at either end trimmed, are cut to their
// width, and then have every comma made a space (WIRELESS_ADDRESS loses its
// spaces instead). The phones keep the bytes of a telephone number (digits,
// "(", ")", "-", "x"; "." becomes "-", "X" becomes "x") and are then cut; ZIP
// is cleaned and cut as a text, then kept as a phone. CONTACT_ID and
// ENTRY_INDEX lose their spaces at either end. When both names are empty
// LAST_NAME takes COMPANY; an empty FIRST_NAME is "Unknown"; DEFAULT_ADDRESS
// names the first address column not empty (1, 2, 3; 1 when none is).
class ContactLineWriter {
public:
    ContactLineWriter();

    // Forgets the last contact; every column is empty again.
    void begin();
    // Appends `piece` to the source text of `column`.
    void add(Column column, std::string_view piece);
    // Normalises the contact and returns its line (22 fields, 21 commas, no
    // line end), valid until the next begin().
    const std::string& line();

    // After line(): a column's normalised text, and what was done to it.
    std::string_view text(Column column) const {
        return std::string_view(m_src[Index(column)], m_len[Index(column)]);
    }
    const ColumnFacts& facts(Column column) const { return m_columns[Index(column)].facts; }
    // After line(): one bit per column (1 << Column) with any of its facts set.
    std::uint32_t touchedColumns() const { return m_touched; }

    // Keeps each column's source text as well, its first kSourceKept bytes,
    // for the change report. A column handed over in one piece is kept as a
    // view of that piece: valid as long as the piece is.
    void keepSources(bool keep) { m_keepSources = keep; }
    bool keepsSources() const { return m_keepSources; }
    std::string_view sourceText(Column column) const { return m_sourceViews[Index(column)]; }
    // True when the source text had more bytes than were kept.
    bool sourceCut(Column column) const { return m_sourceCut[Index(column)]; }
    static constexpr std::size_t kSourceKept = 1024;
    // Copies the source texts kept as views: for a source whose pieces do
    // not last until the contact's line is written.
    void holdSources();

private:
    // Room for the widest column, in whole 16-byte moves.
    static constexpr std::size_t kOutSize = 80;
    struct ColumnState {
        std::uint8_t len;     // bytes kept in the column's buffer
        std::uint8_t taken;   // characters counted against the width
        std::uint8_t keepEnd; // `len` up to the last kept byte that is no space
        char skip;            // the partner of a CR or LF just read, to be passed over
        bool started;         // a byte other than a blank has come
        bool done;            // nothing more can change the column
        bool spilled;         // an id too long for the buffer, held in m_longIds
        ColumnFacts facts;
    };
    static std::size_t Index(Column column) { return static_cast<std::size_t>(column); }

    void addId(std::size_t index, std::string_view piece);
    void keepSource(std::size_t index, std::string_view piece);
    // The steps of line(): each column's text, the fixed and defaulted
    // columns, the facts, the line itself.
    bool settleColumns();
    void applyRules();
    void collectTouched();
    void join(bool spilled);

    std::array<ColumnState, kColumnCount> m_columns;
    alignas(16) char m_out[kColumnCount][kOutSize];
    std::string m_longIds[2];
    std::array<const char*, kColumnCount> m_src;
    std::array<std::size_t, kColumnCount> m_len;
    std::unique_ptr<char[]> m_assembly; // the line as it is put together
    std::string m_line;

    std::uint32_t m_touched = 0;
    bool m_keepSources = false;
    std::array<std::string_view, kColumnCount> m_sourceViews;
    std::array<std::string, kColumnCount> m_sources; // a column that came in several pieces
    std::array<bool, kColumnCount> m_sourceOwned{};
    std::array<bool, kColumnCount> m_sourceCut{};
};

// Tells `sink` what the normalisation of the contact just written by
// `writer` (which kept its sources) changed, column by column: shortened,
// changed (not only trimmed), or a name filled by the rules.
void ReportContactChanges(const ContactLineWriter& writer, const char* source,
                          std::int64_t position, IChangeSink& sink);

// The Norvik column's name: "CONTACT_ID" ... "NOTE".
const char* ColumnName(Column column);

// Normalises the contact a source has handed to `contact` column by column
// and appends its line to `file`. A write failure throws FileError.
void WriteContactLine(ILineSink& file, ContactLineWriter& contact);

} // namespace addrix
