#include "sources/galder/GalderRecord.h"

#include "contact/ContactLine.h"
#include "platform/TextFile.h"

#include <exception>

namespace addrix {

namespace {

// Bytes `first` to `last` of `data`, counted from 1; what lies beyond the
// end of `data` is simply missing.
std::string_view Bytes(std::string_view data, std::size_t first, std::size_t last) {
    if (first > data.size())
        return {};
    return data.substr(first - 1, last - first + 1);
}

std::string TextField(std::string_view data, std::size_t first, std::size_t last) {
    return CutAtFF(Bytes(data, first, last));
}

std::string NumberField(std::string_view data, std::size_t first, std::size_t last) {
    return DecodeBcd(CutAtFF(Bytes(data, first, last)));
}

// A number as text with a blank standing for its plus sign.
std::string SignedText(int value) {
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

} // namespace

std::string CutAtFF(std::string_view text) {
    return std::string(text.substr(0, text.find('\xFF')));
}

std::string BcdDigit(int n) {
    if (n < 0 || n > 9)
        return {};
    return std::string(1, static_cast<char>('0' + n));
}

std::string DecodeBcd(std::string_view text) {
    std::string digits;
    digits.reserve(text.size() * 2);
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        digits += BcdDigit(byte / 16);
        digits += BcdDigit(byte % 16);
    }
    return digits;
}

void DecodeGalderRecordType1(std::string_view data, GalderRecord& record) {
    record.Name = TextField(data, 1, 20);
    record.SecondNumber = NumberField(data, 26, 30);
    record.HomePhone = NumberField(data, 31, 40);
    record.WorkPhone = NumberField(data, 41, 50);
    record.MobilePhone = NumberField(data, 51, 60);
    record.Fax = NumberField(data, 61, 70);
    record.Email = TextField(data, 71, 110);
    record.WirelessAddress = TextField(data, 111, 150);
    record.Note = TextField(data, 151, 255);
}

void DecodeGalderRecordType4(std::string_view data, GalderRecord& record) {
    record.Name = TextField(data, 1, 20);
    record.SecondNumber.clear();
    record.HomePhone = NumberField(data, 63, 72);
    record.WorkPhone = NumberField(data, 73, 82);
    record.MobilePhone = NumberField(data, 83, 92);
    record.Fax = NumberField(data, 93, 102);
    record.Email = TextField(data, 103, 167);
    record.WirelessAddress = TextField(data, 168, 232);
    record.Note = TextField(data, 233, 254);
}

void FillGalderContact(const GalderRecord& record, std::int16_t emailOption,
                       ContactLineWriter& contact) {
    contact.begin();
    contact.add(Column::ContactId, SignedText(record.Index + 1));
    contact.add(Column::EntryIndex, SignedText(record.Index));

    const std::string_view name = record.Name;
    const auto blank = name.find(' ');
    contact.add(Column::FirstName, name.substr(0, blank));
    if (blank != std::string_view::npos)
        contact.add(Column::LastName, name.substr(blank + 1));
    contact.add(Column::WirelessAddress, record.WirelessAddress);
    if (emailOption == 0)
        contact.add(Column::WorkEmail, record.Email);
    else if (emailOption == 1)
        contact.add(Column::HomeEmail, record.Email);
    contact.add(Column::HomePhone, record.HomePhone);
    contact.add(Column::WorkPhone, record.WorkPhone);
    contact.add(Column::MobilePhone, record.MobilePhone);
    contact.add(Column::Fax, record.Fax);
    contact.add(Column::Note, record.Note);
}

void WriteGalderRecord(const GalderRecord& record, ILineSink& file, std::int16_t emailOption,
                       IChangeSink* changes, std::int64_t position) {
    ContactLineWriter contact;
    contact.keepSources(changes != nullptr);
    FillGalderContact(record, emailOption, contact);
    WriteContactLine(file, contact);
    file.flush();
    if (changes)
        ReportContactChanges(contact, "galder", position ? position : record.Index + 1, *changes);
}

} // namespace addrix
