// license-text [--debian-copyright]: the agreement the wizard shows, for the
// installers: as it stands (CR LF lines, the Windows installer's licence
// page), or as the Debian copyright file.
#include "wizard/LicenseAgreement.h"

#include <iostream>
#include <sstream>
#include <string>
#include <utility>

namespace {

void PrintDebianCopyright(const std::string& agreement) {
    std::cout << "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
                 "Upstream-Name: Addrix\n"
                 "Upstream-Contact: Halvern Inc.\n"
                 "\n"
                 "Files: *\n"
                 "Copyright: 2016 Halvern Inc.\n"
                 "License: Halvern-Software-License-Agreement\n";
    // Continuation lines start with a blank; an empty line is written " .",
    // and none ends the text.
    std::istringstream lines(agreement);
    std::string empties;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            empties += " .\n";
        else
            std::cout << std::exchange(empties, {}) << ' ' << line << '\n';
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::string agreement = addrix::LicenseAgreementText();
    if (argc == 2 && std::string(argv[1]) == "--debian-copyright") {
        PrintDebianCopyright(agreement);
    } else if (argc == 1) {
        std::cout << agreement;
    } else {
        std::cerr << "Usage: license-text [--debian-copyright]\n";
        return 64;
    }
    return std::cout.flush() ? 0 : 1;
}
