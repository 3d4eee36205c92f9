#pragma once

#include "contact/RecordLimit.h"

namespace addrix {

class ContactList;
class IChangeSink;
class ILineSink;
class IMessageBox;

// Writes the chosen contacts of `list` in its order, numbered from 1, up to
// `maxRecords` by the rule of the list's source (the limit's notice once when
// a chosen contact is left over). `changes`, when given, is told, in the
// order of the positions: what the Norvik's columns changed in each contact
// written, what merging filled or dropped, each contact left out or over the
// limit, and the source's lines that were no contact. Returns the number of
// contacts written. A write failure throws FileError.
RecordCount WriteContactList(ILineSink& file, const ContactList& list, double maxRecords,
                             IMessageBox& messages, IChangeSink* changes);

} // namespace addrix
