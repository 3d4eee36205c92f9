#pragma once

#include "contact/ChangeReport.h"
#include "contact/ContactLine.h"
#include "contact/RecordLimit.h"

#include <array>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace addrix {

// One contact of a source as the Norvik would get it, with its place in the
// source.
struct ListedContact {
    // The backup's line, or the download's record counted from 1: the
    // change report's POSITION.
    std::int64_t position = 0;
    // The columns a source fills, as they would be written; the numbered and
    // fixed columns stay empty until the contact is written.
    std::array<std::string, kColumnCount> columns;
    // False: left out of the export.
    bool chosen = true;
    // What the Norvik's columns changed, reported when the contact is written.
    std::vector<Change> changes;
    // What merging its duplicates into it filled or dropped, reported always.
    std::vector<Change> merged;

    const std::string& text(Column column) const {
        return columns[static_cast<std::size_t>(column)];
    }
    std::string& text(Column column) { return columns[static_cast<std::size_t>(column)]; }
    // FIRST_NAME and LAST_NAME joined by a blank, as the report names a contact.
    std::string name() const;
};

// The contacts of a source, read without writing anything, in the source's
// order: for the user to choose from and for duplicates to be merged, then
// written by the export in place of reading the source again.
//
// A source hands over each contact once normalised (`take`), and its change
// rows as to any change sink: a row at the position of the contact taken
// last belongs to that contact, any other (a skipped line) to the list.
class ContactList final : public IChangeSink {
public:
    // `source`: "ivro" or "galder", as the report names it.
    explicit ContactList(const char* source) : m_source(source) {}

    const char* source() const { return m_source; }
    // Normalises `contact` (its line is made, nothing is written) and keeps it.
    void take(ContactLineWriter& contact, std::int64_t position);
    void add(const Change& change) override;

    std::vector<ListedContact>& contacts() { return m_contacts; }
    const std::vector<ListedContact>& contacts() const { return m_contacts; }
    // Rows about lines that are no contact.
    const std::vector<Change>& lineRows() const { return m_lineRows; }

    // Chooses the contacts at `positions` and leaves the others out. Returns
    // the positions that name no contact, in order; when there are any,
    // nothing changes.
    std::vector<std::int64_t> choose(const std::set<std::int64_t>& positions);
    // Chooses or leaves out the contact at `position`; false when there is none.
    bool setChosen(std::int64_t position, bool chosen);

private:
    const char* m_source;
    std::vector<ListedContact> m_contacts;
    std::vector<Change> m_lineRows;
};

// The Norvik line of `contact` as the `number`th contact written: CONTACT_ID
// `number`, ENTRY_INDEX one less, DEFAULT_ADDRESS from its address columns.
std::string NorvikLine(const ListedContact& contact, RecordCount number);

// The contact list as `addrix list` prints it: this header, then a line per
// contact, quoted as the change report is. DUPLICATE_OF is the position of
// the first contact of the contact's duplicate group, empty when it is in none.
inline constexpr const char* kContactListHeader =
    "POSITION,FIRST_NAME,LAST_NAME,COMPANY,HOME_PHONE,WORK_PHONE,MOBILE_PHONE,FAX,WORK_EMAIL,"
    "HOME_EMAIL,DUPLICATE_OF";
// `duplicateOf` 0: in no group.
std::string ContactListLine(const ListedContact& contact, std::int64_t duplicateOf);

} // namespace addrix
