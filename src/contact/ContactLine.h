#pragma once

#include "contact/ContactRecord.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace addrix {

class ILineSink;

// CR, LF, CR LF, LF CR and TAB become one space each; the result loses its
// leading and trailing spaces. Other control bytes survive.
std::string CleanText(std::string_view text);

// Every comma becomes a space; nothing else changes.
std::string ReplaceCommas(std::string_view text);

// Keeps the characters of a telephone number: digits, "(", ")", "-", "x";
// "." becomes "-" and "X" becomes "x"; everything else is dropped.
std::string CleanPhoneNumber(std::string_view text);

// Normalises `contact` in place to the Norvik limits and returns its CSV line
// (22 fields, 21 commas, no line end).
std::string NormaliseContact(ContactRecord& contact);

// Normalises `contact` and appends its line to `file`. A write failure
// throws FileError.
void WriteContactLine(ILineSink& file, ContactRecord& contact);

} // namespace addrix
