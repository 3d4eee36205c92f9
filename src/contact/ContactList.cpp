#include "contact/ContactList.h"

#include <algorithm>

namespace addrix {

std::string ListedContact::name() const {
    return text(Column::FirstName) + " " + text(Column::LastName);
}

void ContactList::take(ContactLineWriter& contact, std::int64_t position) {
    contact.line();
    ListedContact& listed = m_contacts.emplace_back();
    listed.position = position;
    for (const Column column : kSourceColumns)
        listed.text(column) = contact.text(column);
}

void ContactList::add(const Change& change) {
    if (!m_contacts.empty() && m_contacts.back().position == change.position)
        m_contacts.back().changes.push_back(change);
    else
        m_lineRows.push_back(change);
}

std::vector<std::int64_t> ContactList::choose(const std::set<std::int64_t>& positions) {
    std::vector<std::int64_t> lacking;
    auto contact = m_contacts.begin();
    for (const std::int64_t position : positions) {
        // Both run in the order of the source.
        contact = std::find_if(contact, m_contacts.end(), [position](const ListedContact& c) {
            return c.position >= position;
        });
        if (contact == m_contacts.end() || contact->position != position)
            lacking.push_back(position);
    }
    if (lacking.empty())
        for (ListedContact& listed : m_contacts)
            listed.chosen = positions.count(listed.position) != 0;
    return lacking;
}

bool ContactList::setChosen(std::int64_t position, bool chosen) {
    for (ListedContact& listed : m_contacts)
        if (listed.position == position) {
            listed.chosen = chosen;
            return true;
        }
    return false;
}

std::string NorvikLine(const ListedContact& contact, RecordCount number) {
    const auto filled = [&contact](Column column) {
        return !contact.text(column).empty();
    };
    const char preferred[] = {PreferredAddress(filled(Column::WirelessAddress),
                                               filled(Column::WorkEmail),
                                               filled(Column::HomeEmail)),
                              '\0'};
    std::string line;
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        if (i)
            line += ',';
        switch (static_cast<Column>(i)) {
        case Column::ContactId:
            line += std::to_string(number);
            break;
        case Column::EntryIndex:
            line += std::to_string(number - 1);
            break;
        case Column::GroupOrPersonal:
            line += '0';
            break;
        case Column::GroupOfWirelessAddress:
        case Column::GroupOfWorkEmail:
        case Column::GroupOfHomeEmail:
            line += ';';
            break;
        case Column::DefaultAddress:
            line += preferred;
            break;
        default:
            line += contact.columns[i];
        }
    }
    return line;
}

std::string ContactListLine(const ListedContact& c, std::int64_t duplicateOf) {
    return QuotedCsvLine(
        {std::to_string(c.position), c.text(Column::FirstName), c.text(Column::LastName),
         c.text(Column::Company), c.text(Column::HomePhone), c.text(Column::WorkPhone),
         c.text(Column::MobilePhone), c.text(Column::Fax), c.text(Column::WorkEmail),
         c.text(Column::HomeEmail), duplicateOf ? std::to_string(duplicateOf) : std::string()});
}

} // namespace addrix
