// The simulator's records must read back through the program's own decoder,
// and its contacts file must read as documented.

#include "GalderRecordCodec.h"
#include "galder/GalderRecord.h"

#include <gtest/gtest.h>

#include <ostream>

namespace addrix {
namespace {

using galdersim::SimContact;

struct CodecCase {
    const char* name;
    int layout;
    SimContact contact;
    GalderRecord expected; // as the program decodes it
};

// Cases print as their names.
void PrintTo(const CodecCase& c, std::ostream* os) {
    *os << c.name;
}

class GalderSimCodec : public ::testing::TestWithParam<CodecCase> {};

TEST_P(GalderSimCodec, DecodesToTheSameContact) {
    const CodecCase& c = GetParam();
    const std::string data = galdersim::EncodeRecord(c.contact, c.layout);
    ASSERT_EQ(data.size(), kGalderRecordDataSize);
    GalderRecord got;
    if (c.layout == 4)
        DecodeGalderRecordType4(data, got);
    else
        DecodeGalderRecordType1(data, got);
    EXPECT_EQ(got.Name, c.expected.Name);
    EXPECT_EQ(got.SecondNumber, c.expected.SecondNumber);
    EXPECT_EQ(got.HomePhone, c.expected.HomePhone);
    EXPECT_EQ(got.WorkPhone, c.expected.WorkPhone);
    EXPECT_EQ(got.MobilePhone, c.expected.MobilePhone);
    EXPECT_EQ(got.Fax, c.expected.Fax);
    EXPECT_EQ(got.Email, c.expected.Email);
    EXPECT_EQ(got.WirelessAddress, c.expected.WirelessAddress);
    EXPECT_EQ(got.Note, c.expected.Note);
}

const std::string kLong(120, 'n');

const CodecCase kCases[] = {
    {"Layout1AllFields",
     1,
     {"Ann Lee", "5551234", "02", "123456789012345678901", "", "a@b.c", "12 34", "note\r\nx", "42"},
     {"Ann Lee", "42", "5551234", "02", "12345678901234567890", "", "a@b.c", "12 34", "note\r\nx"}},
    {"Layout4AllFields",
     4,
     {"Ann Lee", "5551234", "02", "1", "987", "a@b.c", "12 34", "note", "42"},
     {"Ann Lee", "", "5551234", "02", "1", "987", "a@b.c", "12 34", "note"}},
    {"TextsCutToTheirFieldsLayout1",
     1,
     {std::string(25, 'x'), "", "", "", "", kLong, kLong, kLong, ""},
     {std::string(20, 'x'), "", "", "", "", "", kLong.substr(0, 40), kLong.substr(0, 40),
      kLong.substr(0, 105)}},
    {"TextsCutToTheirFieldsLayout4",
     4,
     {"", "", "", "", "", kLong, kLong, kLong, ""},
     {"", "", "", "", "", "", kLong.substr(0, 65), kLong.substr(0, 65), kLong.substr(0, 22)}},
};

INSTANTIATE_TEST_SUITE_P(Cases, GalderSimCodec, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GalderSimContacts, ReadsTheDocumentedFormat) {
    std::vector<SimContact> contacts;
    std::string error;
    ASSERT_TRUE(
        galdersim::ParseContacts("# comment\n\nA B\t1\t2\t3\t4\te\tw\tn\\tx\\\\y\\x41\t9\r\n"
                                 "Solo\n",
                                 contacts, error))
        << error;
    ASSERT_EQ(contacts.size(), 2u);
    EXPECT_EQ(contacts[0].name, "A B");
    EXPECT_EQ(contacts[0].fax, "4");
    EXPECT_EQ(contacts[0].note, "n\tx\\yA");
    EXPECT_EQ(contacts[0].second, "9");
    EXPECT_EQ(contacts[1].name, "Solo");
    EXPECT_EQ(contacts[1].home, "");

    const struct {
        std::string text;
        std::string error;
    } bad[] = {
        {"ok\nA\t12a\n", "line 2: number fields hold digits only"},
        {"A\t\t\t\t\t\t\t\t\tten\n", "line 1: more than 9 fields"},
        {"A\\q\n", "line 1: unknown escape \\q"},
        {"A\\x4\n", "line 1: \\x needs two hexadecimal digits"},
        {"A\\", "line 1: a field ends in a lone backslash"},
    };
    for (const auto& b : bad) {
        EXPECT_FALSE(galdersim::ParseContacts(b.text, contacts, error)) << b.text;
        EXPECT_EQ(error, b.error);
    }
}

} // namespace
} // namespace addrix
