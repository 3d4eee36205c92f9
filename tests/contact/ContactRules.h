#pragma once

#include "contact/ContactLine.h"
#include "contact/ContactRecord.h"

#include <array>
#include <string>
#include <string_view>

namespace addrix::test {

// The clean-up rules of a Norvik line written plainly, one function a rule:
// the reference that ContactLineWriter is held to.

// CR, LF, CR LF, LF CR and TAB become one space each; the result loses its
// leading and trailing spaces. Other control bytes survive.
std::string CleanText(std::string_view text);

// Every comma becomes a space; nothing else changes.
std::string ReplaceCommas(std::string_view text);

// Keeps the characters of a telephone number: digits, "(", ")", "-", "x";
// "." becomes "-" and "X" becomes "x"; everything else is dropped.
std::string CleanPhoneNumber(std::string_view text);

// The field of `contact` that fills `column`.
std::string& Field(ContactRecord& contact, Column column);

// Normalises `contact` in place to the Norvik limits and returns its CSV line
// (22 fields, 21 commas, no line end). `facts`, when given, receives which
// columns were shortened and which a rule filled.
std::string NormaliseContact(ContactRecord& contact,
                             std::array<ColumnFacts, kColumnCount>* facts = nullptr);

// Asks `writer`, handed the fields of `contact`, for its line and tells how it
// differs from the rules: the line, a column's text, its facts or, when the
// writer keeps its sources, a row of the change report. Empty when nothing does.
std::string Differences(ContactLineWriter& writer, const ContactRecord& contact);

} // namespace addrix::test
