#pragma once

#include "contact/ContactLine.h"

#include <array>
#include <string>

namespace addrix::test {

// One contact's source texts, in column order.
using Contact = std::array<std::string, kColumnCount>;

// Asks `writer`, handed the fields of `contact`, for its line and tells how it
// differs from the clean-up rules written plainly: the line, a column's text,
// its facts or, when the writer keeps its sources, a row of the change report.
// Empty when nothing does.
std::string Differences(ContactLineWriter& writer, const Contact& contact);

} // namespace addrix::test
