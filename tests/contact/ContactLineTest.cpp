#include "contact/ContactLine.h"

#include "contact/ChangeReport.h"
#include "contact/ContactRules.h"

#include <gtest/gtest.h>

#include <random>

namespace addrix {
namespace {

using namespace std::string_literals;
using Fields = std::vector<std::pair<Column, std::string>>;

// Hands `writer` the contact numbered 1 with `fields` set, holds it to the
// rules and returns its line.
std::string Line(ContactLineWriter& writer, const Fields& fields) {
    test::Contact c;
    c[0] = "1";
    c[1] = "0";
    for (const auto& [column, text] : fields)
        c[static_cast<std::size_t>(column)] = text;
    writer.begin();
    writer.keepSources(true);
    for (std::size_t i = 0; i < kColumnCount; ++i)
        writer.add(static_cast<Column>(i), c[i]);
    EXPECT_EQ(test::Differences(writer, c), "");
    return writer.line();
}

TEST(ContactLineWriterTest, WritesTheNormalisedLine) {
    using C = Column;
    const std::pair<Fields, std::string> cases[] = {
        // clang-format off
        {{}, "1,0,0,Unknown,,,,,1,;,;,;,,,,,,,,,,"},
        {{{C::ContactId, " 12"}, {C::EntryIndex, " 11 "}, {C::GroupOrPersonal, "9"},
          {C::FirstName, "Ann"}, {C::Company, "Acme"}}, "12,11,0,Ann,,,,,1,;,;,;,Acme,,,,,,,,,"},
        {{{C::HomeEmail, "h@x"}}, "1,0,0,Unknown,,,,h@x,3,;,;,;,,,,,,,,,,"},
        {{{C::HomeEmail, "h"}, {C::WorkEmail, "w"}}, "1,0,0,Unknown,,,w,h,2,;,;,;,,,,,,,,,,"},
        {{{C::HomeEmail, "h"}, {C::WorkEmail, "w"}, {C::WirelessAddress, "12 34 56"}},
         "1,0,0,Unknown,,123456,w,h,1,;,;,;,,,,,,,,,,"},
        {{{C::FirstName, " \t "}, {C::Company, "Smith, Jones and Partners Ltd"}},
         "1,0,0,Unknown,Smith  Jones and P,,,,1,;,;,;,Smith  Jones and P,,,,,,,,,"},
        // A comma in any column would shift the later columns of the unquoted line.
        {{{C::FirstName, "Ann, Jr"}, {C::LastName, "Lee,Ray"}, {C::WirelessAddress, "5,5 1"},
          {C::WorkEmail, "a,b"}, {C::HomeEmail, "c,d"}, {C::Street, "1, Main"},
          {C::City, "Paris, TX"}, {C::State, "T,X"}, {C::Note, "call,\r\nlater"}},
         "1,0,0,Ann  Jr,Lee Ray,551,a b,c d,1,;,;,;,,,,,,1  Main,Paris  TX,T X,,call  later"},
        {{{C::HomePhone, "1,2"}, {C::WorkPhone, "+1 5"}, {C::MobilePhone, "m 7"}, {C::Fax, "8.9"},
          {C::Zip, "K1A 0B1"}}, "1,0,0,Unknown,,,,,1,;,;,;,,12,15,7,8-9,,,,101,"},
        // A NUL dropped from a phone or the ZIP is a change the report shows.
        {{{C::Fax, "5\0"s}, {C::Zip, "1\0"s}}, "1,0,0,Unknown,,,,,1,;,;,;,,,,,5,,,,1,"},
        // Each CR, LF or TAB is a space, a CR LF or LF CR one; other control bytes stay.
        {{{C::City, "A\n\nB\tC\x01\xff"}}, "1,0,0,Unknown,,,,,1,;,;,;,,,,,,,A  B C\x01\xff,,,"}};
    // clang-format on
    ContactLineWriter writer;
    for (const auto& [fields, line] : cases)
        EXPECT_EQ(Line(writer, fields), line);
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
        test::Contact contact;
        writer.keepSources(n % 4 != 0);
        writer.begin();
        for (std::size_t i = 0; i < kColumnCount; ++i) {
            const auto column = static_cast<Column>(i);
            // The writer keeps views of the pieces: the record holds them.
            const std::string& field = contact[i] = GeneratedField(random, widths[i]);
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
