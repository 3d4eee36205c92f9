// The contacts of a source as a list: duplicate groups and their merging.

#include "contact/ContactList.h"
#include "contact/ContactDuplicates.h"

#include <gtest/gtest.h>

namespace addrix {
namespace {

using C = Column;
using Fields = std::vector<std::pair<Column, std::string>>;

// Hands `fields` to the line writer as a source does and lists the contact.
void Take(ContactList& list, std::int64_t position, const Fields& fields) {
    ContactLineWriter writer;
    writer.keepSources(true);
    for (const auto& [column, text] : fields)
        writer.add(column, text);
    list.take(writer, position);
    ReportContactChanges(writer, "ivro", position, list);
}

struct PairCase {
    const char* name;
    Fields a, b;
    bool duplicates;
};

TEST(ContactDuplicates, TheRule) {
    // clang-format off
    const PairCase cases[] = {
        {"names in other case and blanks, a phone in another format and column",
         {{C::FirstName, "Ann"}, {C::LastName, "Van  Der Berg"}, {C::WorkPhone, "(555) 123-4567"}},
         {{C::FirstName, " ann"}, {C::LastName, "van der\tBERG"}, {C::Fax, "555.123.4567"}}, true},
        {"an e-mail in another case",
         {{C::FirstName, "Bo"}, {C::WorkEmail, "Bo@X.example"}, {C::WorkPhone, "1"}},
         {{C::FirstName, "Bo"}, {C::HomeEmail, "bo@x.example"}, {C::MobilePhone, "2"}}, true},
        {"one has neither phone nor e-mail",
         {{C::FirstName, "Cy"}, {C::WorkPhone, "1"}}, {{C::FirstName, "Cy"}, {C::Company, "Acme"}}, true},
        {"both have neither", {{C::FirstName, "Cy"}}, {{C::FirstName, "Cy"}}, true},
        {"other numbers and addresses",
         {{C::FirstName, "Cy"}, {C::WorkPhone, "1"}, {C::WorkEmail, "a@x"}},
         {{C::FirstName, "Cy"}, {C::WorkPhone, "2"}, {C::HomeEmail, "b@x"}}, false},
        {"another last name", {{C::FirstName, "Di"}, {C::LastName, "Lee"}, {C::WorkPhone, "1"}},
         {{C::FirstName, "Di"}, {C::LastName, "Leigh"}, {C::WorkPhone, "1"}}, false},
        {"names swapped", {{C::FirstName, "Di"}, {C::LastName, "Lee"}},
         {{C::FirstName, "Lee"}, {C::LastName, "Di"}}, false},
        {"a phone of no digits is none", {{C::FirstName, "Ed"}, {C::WorkPhone, "x"}},
         {{C::FirstName, "Ed"}, {C::WorkPhone, "x-"}, {C::HomeEmail, "e@x"}}, true}};
    // clang-format on
    for (const PairCase& c : cases) {
        ContactList list("ivro");
        Take(list, 2, c.a);
        Take(list, 3, c.b);
        const std::vector<std::int64_t> expected =
            c.duplicates ? std::vector<std::int64_t>{2, 2} : std::vector<std::int64_t>{0, 0};
        EXPECT_EQ(FindDuplicates(list), expected) << c.name;
    }
}

// A group holds every contact linked to another of it; one left out is in none.
TEST(ContactDuplicates, GroupsLinkThroughTheirMembers) {
    ContactList list("galder");
    Take(list, 1, {{C::FirstName, "Al"}, {C::WorkPhone, "1"}});
    Take(list, 2, {{C::FirstName, "Al"}, {C::WorkPhone, "2"}});
    Take(list, 3, {{C::FirstName, "Bea"}});
    Take(list, 4, {{C::FirstName, "Al"}}); // joins 1 and 2
    Take(list, 5, {{C::FirstName, "Al"}, {C::WorkPhone, "3"}});
    Take(list, 6, {{C::FirstName, "Bea"}});
    EXPECT_EQ(FindDuplicates(list), (std::vector<std::int64_t>{1, 1, 3, 1, 1, 3}));
    EXPECT_EQ(list.choose({1, 2, 3, 5, 6, 9, 0}), (std::vector<std::int64_t>{0, 9}));
    EXPECT_TRUE(list.setChosen(4, false));
    EXPECT_EQ(FindDuplicates(list), (std::vector<std::int64_t>{0, 0, 3, 0, 0, 3}));
    EXPECT_EQ(list.choose({1, 2, 4, 5, 6}), std::vector<std::int64_t>{});
    EXPECT_EQ(FindDuplicates(list), (std::vector<std::int64_t>{1, 1, 0, 1, 1, 0}));
}

// "position column source|written" of each merged row, and the line written.
std::vector<std::string> Merged(const ListedContact& contact) {
    std::vector<std::string> rows;
    for (const Change& row : contact.merged)
        rows.push_back(std::to_string(row.position) + " " + row.column + " " + row.sourceValue +
                       "|" + row.writtenValue);
    rows.push_back(NorvikLine(contact, 1));
    return rows;
}

// The first keeps its values and takes the others' in their order; every
// value filled or dropped, and a contact that gave none, is a row.
TEST(ContactDuplicates, MergingFillsTheFirstAndReportsTheRest) {
    ContactList list("ivro");
    Take(list, 2, {{C::FirstName, "Ann"}, {C::WorkPhone, "555 1"}, {C::Note, "first"}});
    Take(list, 3,
         {{C::FirstName, "ANN"}, {C::WorkPhone, "5551"}, {C::HomeEmail, "A\tx@y"}, {C::Note, "2"}});
    Take(list, 4, {{C::FirstName, "Bo"}});
    Take(list, 5, {{C::FirstName, "ann"}, {C::HomeEmail, "b@x"}, {C::WorkPhone, "555-1"}});
    Take(list, 6, {{C::FirstName, "Bo"}});
    Take(list, 7, {{C::FirstName, "Ann"}, {C::WorkPhone, "5551"}});
    EXPECT_EQ(MergeDuplicates(list, 4), 1u);
    ASSERT_EQ(list.contacts().size(), 5u);
    EXPECT_EQ(Merged(list.contacts()[2]),
              (std::vector<std::string>{"6  |", "1,0,0,Bo,,,,,1,;,;,;,,,,,,,,,,"}));
    EXPECT_EQ(MergeAllDuplicates(list), 3u);
    ASSERT_EQ(list.contacts().size(), 2u);
    EXPECT_EQ(Merged(list.contacts()[0]),
              (std::vector<std::string>{"3 FIRST_NAME ANN|Ann", "3 HOME_EMAIL A x@y|A x@y",
                                        "3 NOTE 2|first", "5 FIRST_NAME ann|Ann",
                                        "5 HOME_EMAIL b@x|A x@y", "5 WORK_PHONE 555-1|5551", "7  |",
                                        "1,0,0,Ann,,,,A x@y,3,;,;,;,,,5551,,,,,,,first"}));
    // What the clean-ups did to a value goes along with it.
    ASSERT_EQ(list.contacts()[0].changes.size(), 2u);
    EXPECT_EQ(list.contacts()[0].changes[1].sourceValue, "A\tx@y");
}

} // namespace
} // namespace addrix
