#include "app/logic/LicenseAgreement.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace addrix {
namespace {

// How each line of the agreement begins, one per line: "-" an empty line,
// "*" any text. Definitions are indented by four spaces; an empty line
// separates the paragraphs and ends the text.
const char* const kLayout =
    "SOFTWARE LICENSE AGREEMENT\n-\n*\n-\n*\n-\n1.  Definitions.\n"
    "    1.1 \n    1.2 \n    1.3 \n    1.4 \n    1.5 \n    1.6 \n    1.7 \n-\n"
    "2.  Software License.\n-\n3.  Intellectual Property Ownership.\n-\n"
    "4.  Restrictions/No Modifications.\n-\n5.  Updates.\n-\n"
    "6.  No Warranty.\n-\n7.  Limitation of Liability.\n-\n"
    "8.  Export Rules.\n-\n9.  Governing Law.\n-\n"
    "10. General Provisions.\n-\n*\n-";

TEST(AgreementText, FollowsItsLayout) {
    const std::string text = LicenseAgreementText();
    std::string bare = text;
    for (std::size_t at = bare.find("\r\n"); at != std::string::npos; at = bare.find("\r\n", at))
        bare.erase(at, 2);
    EXPECT_EQ(bare.find_first_of("\r\n"), std::string::npos) << "a line break without its pair";
    ASSERT_GE(text.size(), 5u);
    EXPECT_EQ(text.substr(text.size() - 5), ".\r\n\r\n") << "not ending with one empty line";

    // The text ends with CR LF CR LF, so the last line split off is empty.
    const std::vector<std::string> lines = test::SplitCrLf(text);
    std::istringstream layout(kLayout);
    std::size_t i = 0;
    for (std::string start; std::getline(layout, start); ++i) {
        ASSERT_LT(i, lines.size()) << "missing: " << start;
        EXPECT_EQ(lines[i].empty(), start == "-") << "line " << i;
        if (start != "-" && start != "*") {
            EXPECT_EQ(lines[i].rfind(start, 0), 0u) << lines[i];
        }
    }
    EXPECT_EQ(i, lines.size());
    EXPECT_EQ(lines[0], "SOFTWARE LICENSE AGREEMENT");
    EXPECT_NE(lines.end()[-2].find("rights reserved"), std::string::npos);
}

} // namespace
} // namespace addrix
