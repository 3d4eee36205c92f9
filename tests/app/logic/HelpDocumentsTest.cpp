#include "app/logic/FileChoosers.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

namespace addrix {
namespace {

// Why `rtf` is not a well-formed RTF document, or "" when it is: it opens
// with the RTF group, its groups nest and close exactly at the end, and every
// byte outside 7-bit ASCII is escaped.
std::string RtfFault(const std::string& rtf) {
    if (rtf.rfind("{\\rtf1", 0) != 0)
        return "does not start with {\\rtf1";
    int depth = 0;
    std::size_t closedAt = std::string::npos;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(rtf[i]);
        if (c >= 0x80)
            return "unescaped byte above 127 at " + std::to_string(i);
        if (closedAt != std::string::npos && !std::isspace(c))
            return "text after the closing brace at " + std::to_string(i);
        if (c == '\\') {
            if (i + 1 >= rtf.size())
                return "backslash at the end";
            const char next = rtf[i + 1];
            if (next == '\'') {
                if (i + 3 >= rtf.size() || !std::isxdigit(static_cast<unsigned char>(rtf[i + 2])) ||
                    !std::isxdigit(static_cast<unsigned char>(rtf[i + 3])))
                    return "bad hex escape at " + std::to_string(i);
                i += 3;
            } else if (std::isalpha(static_cast<unsigned char>(next))) {
                ++i;
            } else if (next == '\\' || next == '{' || next == '}' || next == '~' || next == '-' ||
                       next == '_' || next == '*' || next == '\n' || next == '\r') {
                ++i;
            } else {
                return std::string("unknown control symbol \\") + next + " at " + std::to_string(i);
            }
            continue;
        }
        if (c == '{')
            ++depth;
        if (c == '}' && --depth == 0)
            closedAt = i;
        if (depth < 0)
            return "unbalanced closing brace at " + std::to_string(i);
    }
    if (closedAt == std::string::npos)
        return "the document group is never closed";
    return "";
}

struct RtfCase {
    const char* name;
    std::string rtf;
    bool wellFormed;
};

// Names the case in test listings.
void PrintTo(const RtfCase& c, std::ostream* os) {
    *os << c.name;
}

class RtfChecker : public ::testing::TestWithParam<RtfCase> {};

TEST_P(RtfChecker, TellsWellFormedFromBroken) {
    EXPECT_EQ(RtfFault(GetParam().rtf).empty(), GetParam().wellFormed) << RtfFault(GetParam().rtf);
}

INSTANTIATE_TEST_SUITE_P(Cases, RtfChecker,
                         ::testing::Values(RtfCase{"Minimal", "{\\rtf1 Hello\\par}\n", true},
                                           RtfCase{"EscapedBraces", "{\\rtf1 a \\{ b \\} c \\'e9}",
                                                   true},
                                           RtfCase{"Unclosed", "{\\rtf1 {\\b bold\\par}", false},
                                           RtfCase{"ClosedTooEarly", "{\\rtf1 a} b", false},
                                           RtfCase{"RawAccent", "{\\rtf1 caf\xc3\xa9}", false},
                                           RtfCase{"BadHex", "{\\rtf1 \\'zz}", false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct DocumentCase {
    HelpDocument document;
    std::vector<std::string> mustMention;
};

// Names the case in test listings.
void PrintTo(const DocumentCase& c, std::ostream* os) {
    *os << HelpDocumentName(c.document);
}

class HelpDocumentFiles : public ::testing::TestWithParam<DocumentCase> {};

TEST_P(HelpDocumentFiles, AreWellFormedAndCoverTheirSource) {
    const DocumentCase& c = GetParam();
    const std::string source =
        test::ReadFile(std::string(ADDRIX_HELP_SOURCE_DIR) + "/" + HelpDocumentName(c.document));
    ASSERT_FALSE(source.empty()) << HelpDocumentName(c.document);
    EXPECT_EQ(RtfFault(source), "");
    for (const std::string& phrase : c.mustMention)
        EXPECT_NE(source.find(phrase), std::string::npos) << phrase;

    // The build puts a copy beside the program, where the Help buttons look.
    const std::string copy =
        test::ReadFile(std::string(ADDRIX_RUNTIME_DIR) + "/" + HelpDocumentName(c.document));
    EXPECT_EQ(copy, source);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HelpDocumentFiles,
    ::testing::Values(DocumentCase{HelpDocument::Galder,
                                   {"cradle", "[Ports]", "COM1=/dev/ttyUSB0", "Work Email",
                                    "Home Email", "Alternate Email", "MaxDeviceRecords",
                                    "A timeout occurred Connectiong with the device.",
                                    "The device is permanently disabled",
                                    "An overflow error occurred processing the address book",
                                    "An error occurred processing the address book",
                                    "File Access Error", "Error occurred in DoExport"}},
                      DocumentCase{HelpDocument::Ivro,
                                   {"addressBook.adr", "backup", "First name", "Work e-mail", "Zip",
                                    "MaxDeviceRecords", "File Not Found",
                                    "Error occurred in DoExport"}},
                      DocumentCase{HelpDocument::Kestle, {"Kestle", "Norvik Manager"}}));

} // namespace
} // namespace addrix
