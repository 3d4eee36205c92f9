#include "export/ListExport.h"

#include "contact/ContactList.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <cstring>

namespace addrix {

namespace {

// The rows of one contact, given the CONTACT_ID it was written with ("" when
// it was not).
void AddContactRows(std::vector<Change>& rows, const ListedContact& contact,
                    const std::string& contactId) {
    if (!contactId.empty())
        for (Change change : contact.changes) {
            if (!change.contactId.empty())
                change.contactId = contactId;
            rows.push_back(std::move(change));
        }
    for (Change change : contact.merged) {
        change.contactId = contactId;
        rows.push_back(std::move(change));
    }
}

} // namespace

RecordCount WriteContactList(ILineSink& file, const ContactList& list, double maxRecords,
                             IMessageBox& messages, IChangeSink* changes) {
    const bool galder = std::strcmp(list.source(), "galder") == 0;
    std::vector<Change> rows = list.lineRows();
    RecordCount written = 0;
    bool overLimit = false;
    for (const ListedContact& contact : list.contacts()) {
        if (!contact.chosen) {
            rows.push_back(
                ContactRow(list.source(), contact.position, contact.name(), ChangeKind::LeftOut));
            AddContactRows(rows, contact, {});
            continue;
        }
        if (overLimit || (galder ? GalderLimitReached(written, maxRecords)
                                 : IvroLimitReached(written, maxRecords))) {
            if (!overLimit)
                ShowRecordLimitNotice(messages);
            overLimit = true;
            rows.push_back(
                ContactRow(list.source(), contact.position, contact.name(), ChangeKind::OverLimit));
            AddContactRows(rows, contact, {});
            continue;
        }
        file.writeLine(NorvikLine(contact, ++written));
        AddContactRows(rows, contact, std::to_string(written));
    }
    if (changes) {
        std::stable_sort(rows.begin(), rows.end(),
                         [](const Change& a, const Change& b) { return a.position < b.position; });
        for (const Change& change : rows) {
            if (changes->wantsRows())
                changes->add(change);
            else
                changes->tally(change.kind);
        }
    }
    return written;
}

} // namespace addrix
