#include "app/logic/FileChoosers.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cctype>
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
        const std::string at = " at " + std::to_string(i);
        if (c >= 0x80)
            return "unescaped byte above 127" + at;
        if (closedAt != std::string::npos && !std::isspace(c))
            return "text after the closing brace" + at;
        if (c == '\\') {
            const char next = i + 1 < rtf.size() ? rtf[i + 1] : '\0';
            if (next == '\'') {
                if (i + 3 >= rtf.size() || !std::isxdigit(static_cast<unsigned char>(rtf[i + 2])) ||
                    !std::isxdigit(static_cast<unsigned char>(rtf[i + 3])))
                    return "bad hex escape" + at;
                i += 3;
            } else if (std::isalpha(static_cast<unsigned char>(next)) ||
                       std::string("\\{}~-_*\r\n").find(next) != std::string::npos) {
                ++i;
            } else {
                return "unknown control symbol" + at;
            }
            continue;
        }
        depth += c == '{' ? 1 : c == '}' ? -1 : 0;
        if (depth < 0)
            return "unbalanced closing brace" + at;
        if (c == '}' && depth == 0)
            closedAt = i;
    }
    return closedAt == std::string::npos ? "the document group is never closed" : "";
}

TEST(RtfFault, TellsWellFormedFromBroken) {
    EXPECT_EQ(RtfFault("{\\rtf1 a \\{ b \\} c \\'e9\\par}\n"), "");
    for (const char* broken : {"{\\rtf1 {\\b bold\\par}", "{\\rtf1 a} b", "{\\rtf1 caf\xc3\xa9}",
                               "{\\rtf1 \\'zz}", "{\\rtf1 \\"})
        EXPECT_NE(RtfFault(broken), "") << broken;
}

struct DocumentCase {
    HelpDocument document;
    std::vector<std::string> mustMention;
};

class HelpDocumentFiles : public ::testing::TestWithParam<DocumentCase> {};

TEST_P(HelpDocumentFiles, AreWellFormedCoverTheirSourceAndLieBesideTheProgram) {
    const DocumentCase& c = GetParam();
    const std::string name = HelpDocumentName(c.document);
    const std::string source = test::ReadFile(std::string(ADDRIX_HELP_SOURCE_DIR) + "/" + name);
    ASSERT_FALSE(source.empty()) << name;
    EXPECT_EQ(RtfFault(source), "") << name;
    for (const std::string& phrase : c.mustMention)
        EXPECT_NE(source.find(phrase), std::string::npos) << name << ": " << phrase;
    EXPECT_EQ(test::ReadFile(std::string(ADDRIX_RUNTIME_DIR) + "/" + name), source);
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
