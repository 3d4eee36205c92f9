#include "wizard/AboutText.h"

namespace addrix {

std::string AboutCaption() {
    return std::string("About ") + kProgramTitle;
}

std::string AboutVersionLine(int major, int minor, int revision, const std::string& buildDate) {
    return "Version " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(revision) + "    " + buildDate;
}

std::string AboutVersionLine() {
    return AboutVersionLine(ADDRIX_VERSION_MAJOR, ADDRIX_VERSION_MINOR, ADDRIX_VERSION_PATCH,
                            kBuildDate);
}

} // namespace addrix
