#include "contact/ContactLine.h"

#include "platform/TextFile.h"

namespace addrix {

namespace {

std::string_view TrimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// The first `count` bytes of `text`.
std::string Left(std::string text, std::size_t count) {
    if (text.size() > count)
        text.resize(count);
    return text;
}

std::string RemoveSpaces(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ' ')
            out.push_back(c);
    return out;
}

// CleanText, cut to `width`, commas taken out: columns that would otherwise
// shift every later column of the unquoted line.
std::string CleanCutNoCommas(std::string_view text, std::size_t width) {
    return ReplaceCommas(Left(CleanText(text), width));
}

} // namespace

std::string CleanText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
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
    return std::string(TrimSpaces(out));
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
    out.reserve(text.size());
    for (char c : text) {
        if (c == '.')
            out.push_back('-');
        else if (c == 'X')
            out.push_back('x');
        else if ((c >= '0' && c <= '9') || c == '(' || c == ')' || c == '-' || c == 'x')
            out.push_back(c);
    }
    return out;
}

std::string NormaliseContact(ContactRecord& c) {
    c.FirstName = CleanCutNoCommas(c.FirstName, 15);
    c.LastName = CleanCutNoCommas(c.LastName, 18);
    // A comma here vanishes with the spaces.
    c.WirelessAddress = RemoveSpaces(CleanCutNoCommas(c.WirelessAddress, 65));
    c.HomeEmail = CleanCutNoCommas(c.HomeEmail, 65);
    c.WorkEmail = CleanCutNoCommas(c.WorkEmail, 65);
    c.HomePhone = Left(CleanPhoneNumber(c.HomePhone), 15);
    c.WorkPhone = Left(CleanPhoneNumber(c.WorkPhone), 18);
    c.MobilePhone = Left(CleanPhoneNumber(c.MobilePhone), 15);
    c.Fax = Left(CleanPhoneNumber(c.Fax), 15);
    c.Company = CleanCutNoCommas(c.Company, 18);
    c.Street = CleanCutNoCommas(c.Street, 70);
    c.City = CleanCutNoCommas(c.City, 20);
    c.State = CleanCutNoCommas(c.State, 10);
    c.Zip = CleanPhoneNumber(Left(CleanText(c.Zip), 10));
    c.Note = CleanCutNoCommas(c.Note, 72);

    if (c.LastName.empty() && c.FirstName.empty() && !c.Company.empty())
        c.LastName = c.Company;
    if (c.FirstName.empty())
        c.FirstName = "Unknown";

    c.ContactId = std::string(TrimSpaces(c.ContactId));
    c.EntryIndex = std::string(TrimSpaces(c.EntryIndex));
    c.GroupOrPersonal = "0";
    c.GroupOfWirelessAddress = ";";
    c.GroupOfWorkEmail = ";";
    c.GroupOfHomeEmail = ";";

    if (!c.WirelessAddress.empty())
        c.DefaultAddress = "1";
    else if (!c.WorkEmail.empty())
        c.DefaultAddress = "2";
    else if (!c.HomeEmail.empty())
        c.DefaultAddress = "3";
    else
        c.DefaultAddress = "1";

    const std::string* fields[] = {&c.ContactId,
                                   &c.EntryIndex,
                                   &c.GroupOrPersonal,
                                   &c.FirstName,
                                   &c.LastName,
                                   &c.WirelessAddress,
                                   &c.WorkEmail,
                                   &c.HomeEmail,
                                   &c.DefaultAddress,
                                   &c.GroupOfWirelessAddress,
                                   &c.GroupOfWorkEmail,
                                   &c.GroupOfHomeEmail,
                                   &c.Company,
                                   &c.HomePhone,
                                   &c.WorkPhone,
                                   &c.MobilePhone,
                                   &c.Fax,
                                   &c.Street,
                                   &c.City,
                                   &c.State,
                                   &c.Zip,
                                   &c.Note};
    std::size_t size = 21;
    for (const std::string* f : fields)
        size += f->size();
    std::string line;
    line.reserve(size);
    for (const std::string* f : fields) {
        if (f != fields[0])
            line.push_back(',');
        line += *f;
    }
    return line;
}

void WriteContactLine(ILineSink& file, ContactRecord& contact) {
    file.writeLine(NormaliseContact(contact));
}

} // namespace addrix
