#pragma once

#include <iterator>

namespace addrix {

// The entries of the e-mail column list (lstGalderEmail), in order: the
// caption the wizard shows and the word the command line takes. The Galder
// source writes the device's e-mail to the column of the position chosen.
struct EmailColumn {
    const char* caption;
    const char* option;
};
inline constexpr EmailColumn kEmailColumns[] = {
    {"Work Email", "work"},
    {"Home Email", "home"},
    {"Alternate Email", "alternate"},
};
inline constexpr int kEmailColumnCount = static_cast<int>(std::size(kEmailColumns));

} // namespace addrix
