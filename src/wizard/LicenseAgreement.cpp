#include "wizard/LicenseAgreement.h"

#include <vector>

namespace addrix {

namespace {

constexpr const char* kCrLf = "\r\n";

const char* const kTitle = "SOFTWARE LICENSE AGREEMENT";

const char* const kAcceptance =
    "PLEASE READ THIS AGREEMENT CAREFULLY BEFORE USING THE SOFTWARE.  By installing, copying or "
    "using the Software you accept the terms of this Software License Agreement (the "
    "\"Agreement\").  If you do not accept them, do not install or use the Software, and remove "
    "every copy of it from your computer.";

const char* const kOwnership =
    "The Software is licensed, not sold.  Halvern Inc. (\"Halvern\") and its licensors keep all "
    "ownership of the Software and of every copy of it, whatever the medium on which it is "
    "recorded.";

const char* const kDefinitionsHeading = "1.  Definitions.";

const char* const kDefinitions[] = {
    "1.1 \"Software\" means the Addrix program, its help documents and any other material "
    "that Halvern supplies with it, in whatever form.",
    "1.2 \"Device\" means a Wexley Norvik handheld device owned or lawfully used by you.",
    "1.3 \"Documentation\" means the help documents and other explanations of the Software "
    "that Halvern supplies.",
    "1.4 \"Update\" means a correction, patch or new release of the Software that Halvern "
    "chooses to make available.",
    "1.5 \"You\" means the person or the organisation that installs or uses the Software.",
    "1.6 \"Computer\" means a single computer on which the Software is installed and run.",
    "1.7 \"Address Data\" means the contacts that the Software reads from another device or "
    "file and writes into an address-book file for the Device.",
};

const char* const kSections[] = {
    "2.  Software License.  Halvern grants you a non-exclusive, non-transferable license to "
    "install and use the Software on one Computer at a time, only to move your own Address Data "
    "to your Device.  You may make one copy of the Software for backup purposes.",
    "3.  Intellectual Property Ownership.  The Software and the Documentation are protected by "
    "copyright and other intellectual property laws and treaties.  Halvern and its licensors "
    "own all rights, title and interest in them.  The Address Data remain yours.",
    "4.  Restrictions/No Modifications.  You may not modify, adapt, translate, rent, lease, lend, "
    "sell or distribute the Software, nor reverse engineer, decompile or disassemble it, except "
    "as far as the law applicable to you expressly permits despite this restriction.",
    "5.  Updates.  Halvern is not obliged to provide Updates.  Any Update that Halvern provides "
    "replaces the earlier version and is licensed under this Agreement unless it comes with an "
    "agreement of its own.",
    "6.  No Warranty.  THE SOFTWARE IS PROVIDED \"AS IS\", WITHOUT WARRANTY OF ANY KIND, EXPRESS "
    "OR IMPLIED, INCLUDING THE WARRANTIES OF MERCHANTABILITY, FITNESS FOR A PARTICULAR PURPOSE "
    "AND NON-INFRINGEMENT.  You are responsible for keeping copies of your Address Data.",
    "7.  Limitation of Liability.  IN NO EVENT SHALL HALVERN OR ITS LICENSORS BE LIABLE FOR ANY "
    "LOSS OF DATA, LOSS OF PROFITS OR ANY INDIRECT, INCIDENTAL OR CONSEQUENTIAL DAMAGES ARISING "
    "FROM THE USE OF THE SOFTWARE, EVEN IF ADVISED OF THEIR POSSIBILITY.  Halvern's total "
    "liability shall not exceed the amount you paid for the Software.",
    "8.  Export Rules.  You agree not to export or re-export the Software except as the export "
    "laws and regulations of the country in which you obtained it and of any other country "
    "concerned allow.",
    "9.  Governing Law.  This Agreement is governed by the laws of the place where Halvern has "
    "its principal office, without regard to its rules on conflicts of law.",
    "10. General Provisions.  This Agreement is the entire agreement between you and Halvern "
    "about the Software.  If any part of it is held unenforceable, the rest remains in force.  "
    "Halvern may end this license if you break its terms; you must then destroy every copy of "
    "the Software.",
};

const char* const kClosing =
    "Copyright Halvern Inc.  All rights reserved.  Addrix is a trademark of Halvern Inc.  Wexley "
    "and Norvik are trademarks of their respective owners.";

} // namespace

std::string LicenseAgreementText() {
    // An empty line is an empty paragraph: two CR LF pairs in a row.
    std::vector<std::string> paragraphs{kTitle,     "", kAcceptance,        "",
                                        kOwnership, "", kDefinitionsHeading};
    for (const char* definition : kDefinitions)
        paragraphs.push_back(std::string("    ") + definition);
    paragraphs.push_back("");
    for (const char* section : kSections) {
        paragraphs.push_back(section);
        paragraphs.push_back("");
    }
    paragraphs.push_back(kClosing);

    std::string text;
    for (const std::string& paragraph : paragraphs)
        text += paragraph + kCrLf;
    // The text ends with an empty line.
    return text + kCrLf;
}

LicenseBoxSize FitLicenseBox(int outerWidth, int outerHeight, LicenseBoxSize current) {
    const int width = outerWidth - 200;
    const int height = outerHeight - 600;
    return {width >= 0 ? width : current.width, height >= 0 ? height : current.height};
}

} // namespace addrix
