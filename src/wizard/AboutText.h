#pragma once

#include <string>

namespace addrix {

// The program title shown by the About window.
inline constexpr const char* kProgramTitle = "Addrix";
// The date this release was built, as the About window shows it.
inline constexpr const char* kBuildDate = "14-Sep-2016";
// The fixed text of the About window's Text1.
inline constexpr const char* kAboutBlurb =
    "Halvern Inc. Addrix Program \r\nfor the Wexley Norvik Device.\r\n";

// "About " and the program title.
std::string AboutCaption();

// "Version major.minor.revision", four spaces and the build date.
std::string AboutVersionLine(int major, int minor, int revision, const std::string& buildDate);

// The version line of this release.
std::string AboutVersionLine();

} // namespace addrix
