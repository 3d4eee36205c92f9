#pragma once

#include "contact/ContactList.h"
#include "wizard/ExportSession.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

namespace addrix {

// What the user chose besides the export's own choices.
struct ContactChoice {
    // The positions of the contacts to write; none: every contact.
    std::optional<std::set<std::int64_t>> only;
    // Merge every duplicate group before the record limit applies.
    bool mergeDuplicates = false;
};

// The contacts of one source for the user to choose from, for both shells:
// the source read once into a list without writing anything, its duplicate
// groups found, groups merged on request, and the export run on the
// contacts chosen instead of reading the source again. The boxes go through
// the message-box service, as in an export session.
class ContactsSession {
public:
    ContactsSession(ExportServices services, ExportOptions options = {});

    // Reads the source `choices` name into the list (the one before goes):
    // every contact, no limit. Returns the number of contacts, or a negative
    // result after a failure, which a box has shown.
    RecordCount read(ExportSource source, const IWizardForm& choices);
    const ContactList& contacts() const { return m_list; }
    // For each contact of the list, in its order, the position of the first
    // contact of its duplicate group; 0 when it is in none.
    std::vector<std::int64_t> duplicates() const;

    // Chooses the contacts at `positions` and leaves the others out; returns
    // the positions the list lacks (nothing changes then).
    std::vector<std::int64_t> choose(const std::set<std::int64_t>& positions);
    // Chooses or leaves out one contact; false when there is none at `position`.
    bool setChosen(std::int64_t position, bool chosen);
    // Merges the group whose first contact is at `first`, or every group,
    // among the chosen contacts; returns how many contacts left the list.
    std::size_t merge(std::int64_t first);
    std::size_t mergeAll();

    // The contacts chosen, the record limit that applies to them, and
    // whether it leaves some of them out.
    RecordCount chosenCount() const;
    double recordLimit() const;
    bool overLimit() const;

    // Writes the chosen contacts of the list to the output `choices` name,
    // as an export session does; the record limit applies to them.
    ExportOutcome exportChosen(const IWizardForm& choices);

    // The command line's export: without a choice, the export of the source
    // as it stands; with positions only, a download applies them as its
    // records come; otherwise the source is read, chosen from, merged and
    // written. Positions the source lacks are named in the outcome's
    // `lacking`, with nothing written.
    ExportOutcome run(ExportSource source, const IWizardForm& choices, const ContactChoice& choice);

private:
    ExportServices m_services;
    ExportOptions m_options;
    ExportSource m_source = ExportSource::Ivro;
    ContactList m_list{"ivro"};
};

} // namespace addrix
