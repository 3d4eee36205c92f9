#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace addrix {

class ContactList;

// The duplicate groups among the chosen contacts of `list`: for each contact,
// in the list's order, the position of the first contact of its group; 0
// when it is in none (a contact left out is in none).
//
// Two contacts are duplicates when their FIRST_NAME and LAST_NAME, as
// written, are the same ignoring ASCII case and runs of blanks, and they
// share a phone number (HOME_PHONE, WORK_PHONE, MOBILE_PHONE or FAX, digits
// only, in any of the four) or an e-mail address (WORK_EMAIL or HOME_EMAIL,
// ignoring ASCII case), or one of them has neither. A group holds every
// contact linked to another of it by that rule.
std::vector<std::int64_t> FindDuplicates(const ContactList& list);

// Merges the duplicate group whose first contact is at `first` into that
// contact: its empty columns are filled from the others in their order, a
// value that differs stays its own, and the others leave the list. Each
// column filled or value dropped is a `merged` row of the contact kept, at
// the other's position, SOURCE_VALUE the other's value; an other that gave
// no such row gets one for the whole contact. Returns how many left.
std::size_t MergeDuplicates(ContactList& list, std::int64_t first);

// Merges every duplicate group; returns how many contacts left the list.
std::size_t MergeAllDuplicates(ContactList& list);

} // namespace addrix
