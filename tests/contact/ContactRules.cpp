#include "contact/ContactRules.h"

#include "contact/ChangeReport.h"
#include "platform/Text.h"

#include <vector>

namespace addrix::test {

std::string CleanText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out.push_back(' ');
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out.push_back(' ');
            if (i + 1 < text.size() && text[i + 1] == '\r')
                ++i;
        } else if (c == '\t') {
            out.push_back(' ');
        } else {
            out.push_back(c);
        }
    }
    return std::string(Trim(out, IsSpace));
}

std::string ReplaceCommas(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == ',')
            c = ' ';
    return out;
}

std::string CleanPhoneNumber(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '.')
            out.push_back('-');
        else if (c == 'X')
            out.push_back('x');
        else if ((c >= '0' && c <= '9') || c == '(' || c == ')' || c == '-' || c == 'x')
            out.push_back(c);
    }
    return out;
}

namespace {

using Facts = std::array<ColumnFacts, kColumnCount>;

std::size_t Index(Column column) {
    return static_cast<std::size_t>(column);
}

// The columns a source fills, but for the numbers, in their order.
constexpr Column kSourceColumns[] = {Column::FirstName, Column::LastName,  Column::WirelessAddress,
                                     Column::WorkEmail, Column::HomeEmail, Column::Company,
                                     Column::HomePhone, Column::WorkPhone, Column::MobilePhone,
                                     Column::Fax,       Column::Street,    Column::City,
                                     Column::State,     Column::Zip,       Column::Note};

std::string RemoveSpaces(std::string_view text) {
    std::string out;
    for (const char c : text)
        if (c != ' ')
            out.push_back(c);
    return out;
}

// The first `width` characters of `text`; `shortened` tells whether it had more.
std::string Cut(const std::string& text, std::size_t width, bool& shortened) {
    shortened = text.size() > width;
    return text.substr(0, width);
}

// Each source column's clean-up and width.
void CleanFields(ContactRecord& c, Facts& f) {
    const auto text = [&](Column column, std::size_t width) {
        std::string& field = Field(c, column);
        field = ReplaceCommas(Cut(CleanText(field), width, f[Index(column)].shortened));
    };
    const auto phone = [&](Column column, std::size_t width) {
        std::string& field = Field(c, column);
        field = Cut(CleanPhoneNumber(field), width, f[Index(column)].shortened);
    };
    text(Column::FirstName, 15);
    text(Column::LastName, 18);
    text(Column::WirelessAddress, 65);
    c.WirelessAddress = RemoveSpaces(c.WirelessAddress);
    text(Column::HomeEmail, 65);
    text(Column::WorkEmail, 65);
    phone(Column::HomePhone, 15);
    phone(Column::WorkPhone, 18);
    phone(Column::MobilePhone, 15);
    phone(Column::Fax, 15);
    text(Column::Company, 18);
    text(Column::Street, 70);
    text(Column::City, 20);
    text(Column::State, 10);
    c.Zip = CleanPhoneNumber(Cut(CleanText(c.Zip), 10, f[Index(Column::Zip)].shortened));
    text(Column::Note, 72);
}

// The rows of the change report for `source` normalised into `written`.
std::vector<Change> ChangeRows(ContactRecord source, ContactRecord written, const Facts& facts) {
    std::vector<Change> rows;
    for (const Column column : kSourceColumns) {
        const std::size_t i = Index(column);
        const std::string& from = Field(source, column);
        const std::string& to = Field(written, column);
        // The report keeps the start of a long source; its end is unknown.
        const std::string kept = from.substr(0, ContactLineWriter::kSourceKept);
        const bool whole = kept.size() == from.size();
        ChangeKind kind = ChangeKind::Changed;
        if (facts[i].defaulted)
            kind = ChangeKind::Filled;
        else if (facts[i].shortened)
            kind = ChangeKind::Shortened;
        else if (to == kept || (whole && to == Trim(kept, IsFieldBlank)))
            continue;
        rows.push_back({"ivro", 1, written.ContactId, written.FirstName + " " + written.LastName,
                        ColumnName(column), kind, kind == ChangeKind::Filled ? "" : kept, to});
    }
    return rows;
}

std::string RowText(const Change& row) {
    return row.contactId + "|" + row.name + "|" + row.column + "|" +
           std::to_string(static_cast<int>(row.kind)) + "|" + row.sourceValue + "|" +
           row.writtenValue + "\n";
}

struct RowSink final : IChangeSink {
    std::string rows;
    void add(const Change& change) override { rows += RowText(change); }
};

} // namespace

std::string& Field(ContactRecord& contact, Column column) {
    using R = ContactRecord;
    // clang-format off
    static constexpr std::string R::*kFields[kColumnCount] = {
        &R::ContactId, &R::EntryIndex, &R::GroupOrPersonal, &R::FirstName, &R::LastName,
        &R::WirelessAddress, &R::WorkEmail, &R::HomeEmail, &R::DefaultAddress,
        &R::GroupOfWirelessAddress, &R::GroupOfWorkEmail, &R::GroupOfHomeEmail, &R::Company,
        &R::HomePhone, &R::WorkPhone, &R::MobilePhone, &R::Fax, &R::Street, &R::City, &R::State,
        &R::Zip, &R::Note};
    // clang-format on
    return contact.*kFields[Index(column)];
}

std::string NormaliseContact(ContactRecord& c, Facts* facts) {
    Facts f{};
    CleanFields(c, f);
    if (c.LastName.empty() && c.FirstName.empty() && !c.Company.empty()) {
        c.LastName = c.Company;
        f[Index(Column::LastName)].defaulted = true;
    }
    if (c.FirstName.empty()) {
        c.FirstName = "Unknown";
        f[Index(Column::FirstName)].defaulted = true;
    }
    c.ContactId = std::string(Trim(c.ContactId, IsSpace));
    c.EntryIndex = std::string(Trim(c.EntryIndex, IsSpace));
    c.GroupOrPersonal = "0";
    c.GroupOfWirelessAddress = c.GroupOfWorkEmail = c.GroupOfHomeEmail = ";";
    c.DefaultAddress = !c.WirelessAddress.empty() ? "1"
                       : !c.WorkEmail.empty()     ? "2"
                       : !c.HomeEmail.empty()     ? "3"
                                                  : "1";
    f[Index(Column::DefaultAddress)].defaulted =
        c.WirelessAddress.empty() && c.WorkEmail.empty() && c.HomeEmail.empty();
    std::string line;
    for (std::size_t i = 0; i < kColumnCount; ++i)
        line += (i ? "," : "") + Field(c, static_cast<Column>(i));
    if (facts)
        *facts = f;
    return line;
}

std::string Differences(ContactLineWriter& writer, const ContactRecord& contact) {
    ContactRecord ruled = contact;
    Facts facts;
    const std::string line = NormaliseContact(ruled, &facts);
    if (writer.line() != line)
        return "line " + writer.line() + "\n, by the rules " + line;
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        const auto column = static_cast<Column>(i);
        const ColumnFacts& got = writer.facts(column);
        if (writer.text(column) != Field(ruled, column) || got.shortened != facts[i].shortened ||
            got.defaulted != facts[i].defaulted)
            return std::string(ColumnName(column)) + ": text, shortened or filled differ";
    }
    if (!writer.keepsSources())
        return {};
    RowSink written;
    ReportContactChanges(writer, "ivro", 1, written);
    std::string ruledRows;
    for (const Change& row : ChangeRows(contact, ruled, facts))
        ruledRows += RowText(row);
    if (written.rows != ruledRows)
        return "report\n" + written.rows + "by the rules\n" + ruledRows;
    return {};
}

} // namespace addrix::test
