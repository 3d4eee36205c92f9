#include "app/logic/AboutText.h"
#include "app/logic/LicenseAgreement.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace addrix {
namespace {

TEST(AboutText, CaptionAndVersionOfThisRelease) {
    EXPECT_EQ(AboutCaption(), "About Addrix");
    EXPECT_EQ(AboutVersionLine(), "Version 2.0.0    14-Sep-2016");
}

struct VersionCase {
    int major, minor, revision;
    const char* expected;
};

// Names the case in test listings.
void PrintTo(const VersionCase& c, std::ostream* os) {
    *os << c.expected;
}

class AboutVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(AboutVersion, NumbersInDecimalWithoutLeadingZeros) {
    const VersionCase& c = GetParam();
    EXPECT_EQ(AboutVersionLine(c.major, c.minor, c.revision, "1-Jan-2000"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, AboutVersion,
                         ::testing::Values(VersionCase{10, 4, 12, "Version 10.4.12    1-Jan-2000"},
                                           VersionCase{3, 7, 105,
                                                       "Version 3.7.105    1-Jan-2000"}));

// ---- agreement text ----

class AgreementLayout : public ::testing::Test {
protected:
    const std::string text = LicenseAgreementText();
    // Split at CR LF; the text ends with CR LF, CR LF, so the last line
    // split off is the empty one before the final pair.
    const std::vector<std::string> lines = test::SplitCrLf(text);

    std::size_t IndexOf(const std::string& start) const {
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i].rfind(start, 0) == 0)
                return i;
        return lines.size();
    }
};

TEST_F(AgreementLayout, UsesOnlyCrLfLineBreaks) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "bare LF at " << i;
        }
        if (text[i] == '\r') {
            ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "bare CR at " << i;
        }
    }
}

TEST_F(AgreementLayout, OpensWithTitleAndTwoParagraphs) {
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[0], "SOFTWARE LICENSE AGREEMENT");
    EXPECT_EQ(lines[1], "");
    EXPECT_FALSE(lines[2].empty()); // acceptance notice
    EXPECT_EQ(lines[3], "");
    EXPECT_FALSE(lines[4].empty()); // ownership statement
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], "1.  Definitions.");
}

TEST_F(AgreementLayout, SevenIndentedDefinitionsWithoutGaps) {
    const std::size_t heading = IndexOf("1.  Definitions.");
    ASSERT_LT(heading + 8, lines.size());
    for (int n = 1; n <= 7; ++n) {
        const std::string& line = lines[heading + n];
        EXPECT_EQ(line.rfind("    1." + std::to_string(n) + " ", 0), 0u) << line;
        EXPECT_NE(line[4], ' ') << "indented by more than four spaces: " << line;
    }
    EXPECT_EQ(lines[heading + 8], "");
    EXPECT_EQ(lines[heading + 9].rfind("2.  ", 0), 0u);
}

TEST_F(AgreementLayout, SectionsTwoToTenWithTheirHeadingsAndGaps) {
    const std::vector<std::string> headings = {
        "2.  Software License.",
        "3.  Intellectual Property Ownership.",
        "4.  Restrictions/No Modifications.",
        "5.  Updates.",
        "6.  No Warranty.",
        "7.  Limitation of Liability.",
        "8.  Export Rules.",
        "9.  Governing Law.",
        "10. General Provisions.",
    };
    std::size_t previous = 0;
    for (const std::string& heading : headings) {
        const std::size_t at = IndexOf(heading);
        ASSERT_LT(at, lines.size()) << heading;
        EXPECT_GT(at, previous) << heading << " out of order";
        EXPECT_EQ(lines[at - 1], "") << heading;
        EXPECT_EQ(lines[at + 1], "") << heading;
        previous = at;
    }
}

TEST_F(AgreementLayout, EndsWithTheNoticeAndAnEmptyLine) {
    ASSERT_GE(text.size(), 4u);
    EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
    EXPECT_NE(text.substr(text.size() - 6, 2), "\r\n"); // not three pairs
    const std::size_t last = IndexOf("10. ");
    ASSERT_EQ(lines.size(), last + 4); // section, gap, notice, final empty line
    EXPECT_NE(lines[last + 2].find("rights reserved"), std::string::npos);
    EXPECT_NE(lines[last + 2].find("trademark"), std::string::npos);
}

// ---- agreement window resize ----

struct FitCase {
    const char* name;
    int outerWidth, outerHeight;
    LicenseBoxSize current, expected;
};

// Names the case in test listings.
void PrintTo(const FitCase& c, std::ostream* os) {
    *os << c.name;
}

class LicenseBoxFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(LicenseBoxFit, KeepsTheMarginsAndIgnoresNegativeSizes) {
    const FitCase& c = GetParam();
    const LicenseBoxSize size = FitLicenseBox(c.outerWidth, c.outerHeight, c.current);
    EXPECT_EQ(size.width, c.expected.width);
    EXPECT_EQ(size.height, c.expected.height);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LicenseBoxFit,
    ::testing::Values(FitCase{"Designed", 5580, 6150, {1, 1}, {5380, 5550}},
                      FitCase{"Enlarged", 12000, 9000, {5380, 5550}, {11800, 8400}},
                      FitCase{"ExactlyTheMargins", 200, 600, {5380, 5550}, {0, 0}},
                      FitCase{"TooNarrow", 199, 6000, {5380, 5550}, {5380, 5400}},
                      FitCase{"TooLow", 6000, 599, {5380, 5550}, {5800, 5550}},
                      FitCase{"TooSmallBoth", 0, 0, {5380, 5550}, {5380, 5550}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace addrix
