#include "export/ContactLine.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace addrix {
namespace {

using test::SplitCommas;

struct TextCase {
    const char* name;
    std::string input;
    std::string expected;
};

class CleanTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(CleanTextTest, TurnsLineBreaksAndTabsIntoSpaces) {
    EXPECT_EQ(CleanText(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CleanTextTest,
    ::testing::Values(
        TextCase{"CrLfIsOneSpace", "A\r\nB", "A B"}, TextCase{"LfCrIsOneSpace", "A\n\rB", "A B"},
        TextCase{"CrCrIsTwoSpaces", "A\r\rB", "A  B"},
        TextCase{"LfLfIsTwoSpaces", "A\n\nB", "A  B"}, TextCase{"TabIsSpace", "A\tB", "A B"},
        TextCase{"TrimsOnlySpaces", "  \tA B\r\n ", "A B"},
        TextCase{"OtherControlsSurvive", std::string("A\x01\0B", 4), std::string("A\x01\0B", 4)},
        TextCase{"HighBytesPassThrough", "Ren\xe9\xff", "Ren\xe9\xff"}, TextCase{"Empty", "", ""}),
    [](const auto& info) { return info.param.name; });

TEST(CleanPhoneNumberTest, KeepsOnlyTelephoneCharacters) {
    EXPECT_EQ(CleanPhoneNumber("(555) 123.4567 X12"), "(555)123-4567x12");
    EXPECT_EQ(CleanPhoneNumber("+44 / 20 7946-0958 ext"), "44207946-0958x");
    EXPECT_EQ(CleanPhoneNumber("K1A 0B1"), "101");
}

TEST(ReplaceCommasTest, TurnsEveryCommaIntoASpaceAndTrimsNothing) {
    EXPECT_EQ(ReplaceCommas(" a,,b, "), " a  b  ");
}

ContactRecord Numbered() {
    ContactRecord c;
    c.ContactId = "1";
    c.EntryIndex = "0";
    return c;
}

TEST(NormaliseContactTest, EmptyRecordGetsTheFixedColumns) {
    ContactRecord c = Numbered();
    EXPECT_EQ(NormaliseContact(c), "1,0,0,Unknown,,,,,1,;,;,;,,,,,,,,,,");
}

TEST(NormaliseContactTest, DefaultAddressPrefersWirelessThenWorkThenHome) {
    ContactRecord c = Numbered();
    c.HomeEmail = "h@x";
    NormaliseContact(c);
    EXPECT_EQ(c.DefaultAddress, "3");
    c.WorkEmail = "w@x";
    NormaliseContact(c);
    EXPECT_EQ(c.DefaultAddress, "2");
    c.WirelessAddress = "1 2";
    NormaliseContact(c);
    EXPECT_EQ(c.DefaultAddress, "1");
}

TEST(NormaliseContactTest, WirelessAddressIsCutBeforeSpacesGo) {
    ContactRecord c = Numbered();
    c.WirelessAddress = "12 34 56";
    NormaliseContact(c);
    EXPECT_EQ(c.WirelessAddress, "123456");

    c.WirelessAddress = std::string(60, 'a') + "      bbbbbbbbbb";
    NormaliseContact(c);
    EXPECT_EQ(c.WirelessAddress, std::string(60, 'a'));
}

TEST(NormaliseContactTest, CompanyOnlyContactBecomesUnknownWithCompanyAsLastName) {
    ContactRecord c = Numbered();
    c.FirstName = " \t ";
    c.Company = "Smith, Jones and Partners Ltd";
    NormaliseContact(c);
    EXPECT_EQ(c.Company, "Smith  Jones and P");
    EXPECT_EQ(c.LastName, "Smith  Jones and P");
    EXPECT_EQ(c.FirstName, "Unknown");
}

TEST(NormaliseContactTest, ZipIsCutThenReducedToPhoneCharacters) {
    const std::pair<std::string, std::string> cases[] = {{"K1A 0B1", "101"},
                                                         {"12345-6789", "12345-6789"},
                                                         {"12345.6789", "12345-6789"},
                                                         {"12345 - 6789", "12345-67"}};
    for (const auto& [zip, expected] : cases) {
        ContactRecord c = Numbered();
        c.Zip = zip;
        NormaliseContact(c);
        EXPECT_EQ(c.Zip, expected) << zip;
    }
}

TEST(NormaliseContactTest, FieldsAreCutToTheirColumnWidths) {
    ContactRecord c = Numbered();
    const std::string longText(100, 'z');
    c.FirstName = c.LastName = c.WorkEmail = c.HomeEmail = c.Company = c.Street = c.City = c.State =
        c.Note = longText;
    c.HomePhone = c.WorkPhone = c.MobilePhone = c.Fax = std::string(30, '5');
    NormaliseContact(c);
    EXPECT_EQ(c.FirstName.size(), 15u);
    EXPECT_EQ(c.LastName.size(), 18u);
    EXPECT_EQ(c.WorkEmail.size(), 65u);
    EXPECT_EQ(c.HomeEmail.size(), 65u);
    EXPECT_EQ(c.Company.size(), 18u);
    EXPECT_EQ(c.Street.size(), 70u);
    EXPECT_EQ(c.City.size(), 20u);
    EXPECT_EQ(c.State.size(), 10u);
    EXPECT_EQ(c.Note.size(), 72u);
    EXPECT_EQ(c.HomePhone.size(), 15u);
    EXPECT_EQ(c.WorkPhone.size(), 18u);
    EXPECT_EQ(c.MobilePhone.size(), 15u);
    EXPECT_EQ(c.Fax.size(), 15u);
}

TEST(NormaliseContactTest, MultiLineNoteBecomesOneLine) {
    ContactRecord c = Numbered();
    c.Note = "line one\r\nline two";
    NormaliseContact(c);
    EXPECT_EQ(c.Note, "line one line two");
}

// An unquoted comma would shift every later column of the line.
TEST(NormaliseContactTest, CommasNeverShiftColumns) {
    ContactRecord c = Numbered();
    c.FirstName = "Ann, Jr";
    c.LastName = "Lee,Ray";
    c.WirelessAddress = "55,51 23";
    c.WorkEmail = "a,b@x";
    c.HomeEmail = "c,d@x";
    c.Note = "call, later";
    c.Street = "1, Main St";
    c.City = "Paris, TX";
    c.State = "T,X";
    c.Company = "A, B";
    const auto fields = SplitCommas(NormaliseContact(c));
    ASSERT_EQ(fields.size(), 22u);
    EXPECT_EQ(fields[3], "Ann  Jr");
    EXPECT_EQ(fields[4], "Lee Ray");
    EXPECT_EQ(fields[5], "555123");
    EXPECT_EQ(fields[6], "a b@x");
    EXPECT_EQ(fields[7], "c d@x");
    EXPECT_EQ(fields[21], "call  later");
}

TEST(NormaliseContactTest, IdsAreTrimmed) {
    ContactRecord c;
    c.ContactId = " 12";
    c.EntryIndex = " 11 ";
    NormaliseContact(c);
    EXPECT_EQ(c.ContactId, "12");
    EXPECT_EQ(c.EntryIndex, "11");
}

TEST(WriteContactLineTest, WritesOneLineAndReturnsZero) {
    test::MemorySink sink;
    ContactRecord c = Numbered();
    c.FirstName = "Ann";
    EXPECT_EQ(WriteContactLine(sink, c), 0);
    ASSERT_EQ(sink.lines.size(), 1u);
    EXPECT_EQ(sink.lines[0], "1,0,0,Ann,,,,,1,;,;,;,,,,,,,,,,");
}

TEST(WriteContactLineTest, FullDiskThrows) {
    test::FailingSink sink(0);
    ContactRecord c = Numbered();
    EXPECT_THROW(WriteContactLine(sink, c), FileError);
}

} // namespace
} // namespace addrix
