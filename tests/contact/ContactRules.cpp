#include "contact/ContactRules.h"

#include "contact/ChangeReport.h"
#include "platform/Text.h"

#include <algorithm>

namespace addrix::test {
namespace {

using Facts = std::array<ColumnFacts, kColumnCount>;

std::size_t Index(Column column) {
    return static_cast<std::size_t>(column);
}

// CR, LF, CR LF, LF CR and TAB become one space each; the result loses its
// leading and trailing spaces. Other control bytes survive.
std::string CleanText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool pair = i + 1 < text.size() && (c == '\r' || c == '\n') &&
                          (text[i + 1] == '\r' || text[i + 1] == '\n') && text[i + 1] != c;
        out.push_back(c == '\r' || c == '\n' || c == '\t' ? ' ' : c);
        i += pair;
    }
    return std::string(Trim(out, IsSpace));
}

// Every comma becomes a space.
std::string ReplaceCommas(std::string text) {
    std::replace(text.begin(), text.end(), ',', ' ');
    return text;
}

// Every space goes.
std::string RemoveSpaces(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

// Keeps the characters of a telephone number: digits, "(", ")", "-", "x";
// "." becomes "-" and "X" becomes "x"; everything else is dropped.
std::string CleanPhoneNumber(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '.' || c == 'X')
            out.push_back(c == '.' ? '-' : 'x');
        else if ((c >= '0' && c <= '9') || c == '(' || c == ')' || c == '-' || c == 'x')
            out.push_back(c);
    }
    return out;
}

// The first `width` characters of `text`.
std::string Cut(std::string text, std::size_t width, ColumnFacts& facts) {
    facts.shortened = text.size() > width;
    text.resize(std::min(text.size(), width));
    return text;
}

enum class Rule { Number, Fixed, Text, Wireless, Phone, Zip };
struct ColumnRule {
    Rule rule;
    std::size_t width;
};
constexpr ColumnRule kRules[kColumnCount] = {
    {Rule::Number, 0},    {Rule::Number, 0}, {Rule::Fixed, 0}, {Rule::Text, 15},  {Rule::Text, 18},
    {Rule::Wireless, 65}, {Rule::Text, 65},  {Rule::Text, 65}, {Rule::Fixed, 0},  {Rule::Fixed, 0},
    {Rule::Fixed, 0},     {Rule::Fixed, 0},  {Rule::Text, 18}, {Rule::Phone, 15}, {Rule::Phone, 18},
    {Rule::Phone, 15},    {Rule::Phone, 15}, {Rule::Text, 70}, {Rule::Text, 20},  {Rule::Text, 10},
    {Rule::Zip, 10},      {Rule::Text, 72}};

std::string CleanColumn(const std::string& text, ColumnRule r, ColumnFacts& facts) {
    switch (r.rule) {
    case Rule::Number:
        return std::string(Trim(text, IsSpace));
    case Rule::Fixed:
        return {};
    case Rule::Text:
        return ReplaceCommas(Cut(CleanText(text), r.width, facts));
    case Rule::Wireless:
        return RemoveSpaces(ReplaceCommas(Cut(CleanText(text), r.width, facts)));
    case Rule::Phone:
        return Cut(CleanPhoneNumber(text), r.width, facts);
    case Rule::Zip:
        return CleanPhoneNumber(Cut(CleanText(text), r.width, facts));
    }
    return {};
}

// An empty name is filled: the last name by the company when both are empty,
// the first name by "Unknown".
void FillNames(Contact& c, Facts& f) {
    std::string& first = c[Index(Column::FirstName)];
    std::string& last = c[Index(Column::LastName)];
    if (first.empty() && last.empty() && !c[Index(Column::Company)].empty()) {
        last = c[Index(Column::Company)];
        f[Index(Column::LastName)].defaulted = true;
    }
    if (first.empty()) {
        first = "Unknown";
        f[Index(Column::FirstName)].defaulted = true;
    }
}

// The columns a source never fills; DEFAULT_ADDRESS names the first address
// column not empty, 1 when none is.
void SetFixedColumns(Contact& c, Facts& f) {
    c[Index(Column::GroupOrPersonal)] = "0";
    for (const Column group :
         {Column::GroupOfWirelessAddress, Column::GroupOfWorkEmail, Column::GroupOfHomeEmail})
        c[Index(group)] = ";";
    const Column addresses[] = {Column::WirelessAddress, Column::WorkEmail, Column::HomeEmail};
    const auto first = std::find_if(std::begin(addresses), std::end(addresses),
                                    [&](Column a) { return !c[Index(a)].empty(); });
    c[Index(Column::DefaultAddress)] =
        first == std::end(addresses) ? "1" : std::to_string(first - addresses + 1);
    f[Index(Column::DefaultAddress)].defaulted = first == std::end(addresses);
}

std::string NormaliseContact(Contact& c, Facts& f) {
    for (std::size_t i = 0; i < kColumnCount; ++i)
        c[i] = CleanColumn(c[i], kRules[i], f[i]);
    FillNames(c, f);
    SetFixedColumns(c, f);
    std::string line;
    for (std::size_t i = 0; i < kColumnCount; ++i)
        line += (i ? "," : "") + c[i];
    return line;
}

// The change report's rows, one a line, for `source` normalised into `written`.
std::string ReportRows(const Contact& source, const Contact& written, const Facts& facts) {
    std::string rows;
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        if (kRules[i].rule == Rule::Number || kRules[i].rule == Rule::Fixed)
            continue;
        // The report keeps the start of a long source; its end is unknown.
        const std::string kept = source[i].substr(0, ContactLineWriter::kSourceKept);
        const bool whole = kept.size() == source[i].size();
        ChangeKind kind = ChangeKind::Changed;
        if (facts[i].defaulted)
            kind = ChangeKind::Filled;
        else if (facts[i].shortened)
            kind = ChangeKind::Shortened;
        else if (written[i] == kept || (whole && written[i] == Trim(kept, IsFieldBlank)))
            continue;
        rows += written[Index(Column::ContactId)] + "|" + written[Index(Column::FirstName)] + " " +
                written[Index(Column::LastName)] + "|" + ColumnName(static_cast<Column>(i)) + "|" +
                ChangeKindName(kind) + "|" + (kind == ChangeKind::Filled ? "" : kept) + "|" +
                written[i] + "\n";
    }
    return rows;
}

struct RowSink final : IChangeSink {
    std::string rows;
    void add(const Change& r) override {
        rows += r.contactId + "|" + r.name + "|" + r.column + "|" + ChangeKindName(r.kind) + "|" +
                r.sourceValue + "|" + r.writtenValue + "\n";
    }
};

} // namespace

std::string Differences(ContactLineWriter& writer, const Contact& contact) {
    Contact ruled = contact;
    Facts facts{};
    const std::string line = NormaliseContact(ruled, facts);
    if (writer.line() != line)
        return "line " + writer.line() + "\n, by the rules " + line;
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        const auto column = static_cast<Column>(i);
        const ColumnFacts& got = writer.facts(column);
        if (writer.text(column) != ruled[i] || got.shortened != facts[i].shortened ||
            got.defaulted != facts[i].defaulted)
            return std::string(ColumnName(column)) + ": text, shortened or filled differ";
    }
    if (!writer.keepsSources())
        return {};
    RowSink written;
    ReportContactChanges(writer, "ivro", 1, written);
    const std::string ruledRows = ReportRows(contact, ruled, facts);
    if (written.rows != ruledRows)
        return "report\n" + written.rows + "by the rules\n" + ruledRows;
    return {};
}

} // namespace addrix::test
