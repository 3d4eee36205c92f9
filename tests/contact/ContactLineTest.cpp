#include "contact/ContactLine.h"

#include "contact/ChangeReport.h"
#include "contact/ContactRules.h"

#include <gtest/gtest.h>

#include <random>

namespace addrix {
namespace {

using test::ContactRecord;
using C = ContactRecord;
using Fields = std::vector<std::pair<std::string C::*, std::string>>;

// Normalises a record numbered 1 with `fields` set by the rules, and holds
// the line writer to them; `out` receives the record.
std::string Line(const Fields& fields, ContactRecord* out = nullptr) {
    ContactRecord c;
    c.ContactId = "1";
    c.EntryIndex = "0";
    for (const auto& [field, text] : fields)
        c.*field = text;
    ContactLineWriter writer;
    writer.keepSources(true);
    for (std::size_t i = 0; i < kColumnCount; ++i)
        writer.add(static_cast<Column>(i), test::Field(c, static_cast<Column>(i)));
    EXPECT_EQ(test::Differences(writer, c), "");
    const std::string line = test::NormaliseContact(c);
    if (out)
        *out = c;
    return line;
}

TEST(NormaliseContactTest, WritesTheNormalisedLine) {
    const std::pair<Fields, std::string> cases[] = {
        // clang-format off
        {{}, "1,0,0,Unknown,,,,,1,;,;,;,,,,,,,,,,"},
        {{{&C::ContactId, " 12"}, {&C::EntryIndex, " 11 "}, {&C::GroupOrPersonal, "9"},
          {&C::FirstName, "Ann"}, {&C::Company, "Acme"}}, "12,11,0,Ann,,,,,1,;,;,;,Acme,,,,,,,,,"},
        {{{&C::HomeEmail, "h@x"}}, "1,0,0,Unknown,,,,h@x,3,;,;,;,,,,,,,,,,"},
        {{{&C::HomeEmail, "h"}, {&C::WorkEmail, "w"}}, "1,0,0,Unknown,,,w,h,2,;,;,;,,,,,,,,,,"},
        {{{&C::HomeEmail, "h"}, {&C::WorkEmail, "w"}, {&C::WirelessAddress, "12 34 56"}},
         "1,0,0,Unknown,,123456,w,h,1,;,;,;,,,,,,,,,,"},
        {{{&C::FirstName, " \t "}, {&C::Company, "Smith, Jones and Partners Ltd"}},
         "1,0,0,Unknown,Smith  Jones and P,,,,1,;,;,;,Smith  Jones and P,,,,,,,,,"},
        // A comma in any column would shift the later columns of the unquoted line.
        {{{&C::FirstName, "Ann, Jr"}, {&C::LastName, "Lee,Ray"}, {&C::WirelessAddress, "5,5 1"},
          {&C::WorkEmail, "a,b"}, {&C::HomeEmail, "c,d"}, {&C::Street, "1, Main"},
          {&C::City, "Paris, TX"}, {&C::State, "T,X"}, {&C::Note, "call,\r\nlater"}},
         "1,0,0,Ann  Jr,Lee Ray,551,a b,c d,1,;,;,;,,,,,,1  Main,Paris  TX,T X,,call  later"},
        {{{&C::HomePhone, "1,2"}, {&C::WorkPhone, "+1 5"}, {&C::MobilePhone, "m 7"}, {&C::Fax, "8.9"},
          {&C::Zip, "K1A 0B1"}}, "1,0,0,Unknown,,,,,1,;,;,;,,12,15,7,8-9,,,,101,"},
        // Each CR, LF or TAB is a space, a CR LF or LF CR one; other control bytes stay.
        {{{&C::City, "A\n\nB\tC\x01\xff"}}, "1,0,0,Unknown,,,,,1,;,;,;,,,,,,,A  B C\x01\xff,,,"}};
    // clang-format on
    for (const auto& [fields, line] : cases)
        EXPECT_EQ(Line(fields), line);
}

TEST(NormaliseContactTest, CutsEachFieldToItsWidth) {
    // clang-format off
    const std::pair<std::string C::*, std::size_t> widths[] = {
        {&C::FirstName, 15}, {&C::LastName, 18}, {&C::WorkEmail, 65}, {&C::HomeEmail, 65},
        {&C::Company, 18}, {&C::Street, 70}, {&C::City, 20}, {&C::State, 10}, {&C::Note, 72},
        {&C::HomePhone, 15}, {&C::WorkPhone, 18}, {&C::MobilePhone, 15}, {&C::Fax, 15},
        {&C::Zip, 10}, {&C::WirelessAddress, 65}};
    // clang-format on
    ContactRecord c;
    for (const auto& [field, width] : widths) {
        Line({{field, " " + std::string(width, '5') + "6 7"}}, &c);
        EXPECT_EQ(c.*field, std::string(width, '5')) << width;
    }
    Line({{&C::WirelessAddress, std::string(60, 'a') + "      bbbb"}}, &c); // cut, then unspaced
    EXPECT_EQ(c.WirelessAddress, std::string(60, 'a'));
}

// The change report's rows of the writer's last contact: column and kind.
std::string Report(const ContactLineWriter& w) {
    ChangeCollector changes;
    ReportContactChanges(w, "ivro", 1, changes);
    std::string rows;
    for (const Change& change : changes.rows())
        rows += change.column + " " + ChangeKindName(change.kind) + "; ";
    return rows;
}

// A source may hand a column over in pieces: CR LF pairs, blanks and the cut
// hold across them, and the writer tells what it did to each column.
TEST(ContactLineWriterTest, TakesColumnsInPiecesAndTellsWhatItDid) {
    ContactLineWriter w;
    w.keepSources(true);
    using Pieces = std::vector<std::string>;
    const std::pair<Column, Pieces> columns[] = {
        {Column::ContactId, {" 7", " "}},
        {Column::EntryIndex, {"6"}},
        {Column::LastName, {" ", "\t", "Lee\r", "\nRay,", "  "}},
        {Column::Street, {std::string(69, 's'), " ", " \n", " x"}},
        {Column::City, {std::string(20, 'c'), "  ", "\r\n"}},
        {Column::State, {" IL", " ", "\t"}}, // only trimmed: no change
        {Column::WirelessAddress, {"5 5\n", "\r1"}},
        {Column::WorkPhone, {"(555) 12", "3.45 X6"}},
        {Column::Zip, {" 12345", " - 6789"}},
        {Column::Note, {"a\n", "\r\r", "b"}}};
    for (const auto& [column, pieces] : columns)
        for (const auto& piece : pieces)
            w.add(column, piece);
    EXPECT_EQ(w.line(), "7,6,0,Unknown,Lee Ray ,551,,,1,;,;,;,,,(555)123-45x6,,," +
                            std::string(69, 's') + " ," + std::string(20, 'c') +
                            ",IL,12345-67,a  b");
    EXPECT_EQ(Report(w), "FIRST_NAME filled; LAST_NAME changed; WIRELESS_ADDRESS changed; "
                         "WORK_PHONE changed; STREET shortened; ZIP shortened; NOTE changed; ");
}

TEST(ContactLineWriterTest, ReportsANulDroppedFromAPhoneOrTheZip) {
    ContactLineWriter w;
    w.keepSources(true);
    w.add(Column::ContactId, "1");
    w.add(Column::FirstName, "N");
    w.add(Column::Fax, std::string_view("5\0", 2));
    w.add(Column::Zip, std::string_view("1\0", 2));
    EXPECT_EQ(w.line(), "1,,0,N,,,,,1,;,;,;,,,,,5,,,,1,");
    EXPECT_EQ(Report(w), "FAX changed; ZIP changed; ");
}

// A field that reaches the edges of the rules: about `width` long, or empty,
// or longer than the report keeps; of what phone numbers hold with a stray
// byte, or of text, blanks of every kind, commas, control and high bytes.
std::string GeneratedField(std::minstd_rand& random, std::size_t width) {
    using namespace std::string_view_literals;
    static const std::string_view kParts[] = {
        "0",  "7",  "(", ")", "-", "x", "\0"sv, "a",    "X",    ".",    " ",    " ",   "\t",
        "\r", "\n", ",", "/", "+", "Z", "\r\n", "\n\r", "\x01", "\x7f", "\x80", "\xff"};
    const std::size_t lengths[] = {0, width - 1, width, width + 1, width + 2, 2 * width};
    const std::size_t length = random() % 16 == 0 ? 1030 : lengths[random() % 6];
    const std::size_t parts = random() % 4 == 0 ? 8 : 25;
    std::string field;
    while (field.size() < length) {
        // Runs of one part make blanks at the ends and across the cut.
        const std::string_view part = kParts[random() % parts];
        for (std::size_t n = random() % 4 == 0 ? 1 + random() % 8 : 1; n > 0; --n)
            field += part;
    }
    return field;
}

TEST(ContactLineWriterTest, WritesAndReportsWhatTheRulesDoForGeneratedFields) {
    // Each column's width; the numbers at the edge of the writer's buffer.
    const std::size_t widths[kColumnCount] = {80, 80, 4,  15, 18, 65, 65, 65, 4,  4,  4,
                                              4,  18, 15, 18, 15, 15, 70, 20, 10, 10, 72};
    std::minstd_rand random(7);
    ContactLineWriter writer; // reused, as the sources reuse theirs
    for (int n = 0; n < 3000; ++n) {
        ContactRecord contact;
        writer.keepSources(n % 4 != 0);
        writer.begin();
        for (std::size_t i = 0; i < kColumnCount; ++i) {
            const auto column = static_cast<Column>(i);
            // The writer keeps views of the pieces: the record holds them.
            const std::string& field = test::Field(contact, column) =
                GeneratedField(random, widths[i]);
            // In pieces cut anywhere, empty ones too.
            std::size_t at = 0;
            do {
                const std::size_t rest = field.size() - at;
                const std::size_t cut = random() % 3 == 0 ? random() % (rest + 1) : rest;
                writer.add(column, std::string_view(field).substr(at, cut));
                at += cut;
            } while (at < field.size());
        }
        ASSERT_EQ(test::Differences(writer, contact), "") << "contact " << n;
    }
}

} // namespace
} // namespace addrix
