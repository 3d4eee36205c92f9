#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace addrix {

class ContactLineWriter;
class IChangeSink;
class ILineSink;

// One address-book entry as a Galder device sends it, decoded.
struct GalderRecord {
    std::string Name;
    std::string SecondNumber; // decoded, never written
    std::string HomePhone;
    std::string WorkPhone;
    std::string MobilePhone;
    std::string Fax;
    std::string Email;
    std::string WirelessAddress;
    std::string Note;
    std::int16_t Index = 0; // counted from 0
};

// Bytes of one record after its 0x7F marker.
inline constexpr std::size_t kGalderRecordDataSize = 256;

// `text` up to its first 0xFF byte (all of it when it holds none).
std::string CutAtFF(std::string_view text);

// Packed decimal to digits, high nibble first; nibbles A to F vanish.
std::string DecodeBcd(std::string_view text);

// "0" to "9" for 0 to 9; empty text for any other value.
std::string BcdDigit(int n);

// Fill `record` from the 256 data bytes of a layout 1 or layout 4 record.
// Shorter data leave the missing positions empty. Index is left alone.
void DecodeGalderRecordType1(std::string_view data, GalderRecord& record);
void DecodeGalderRecordType4(std::string_view data, GalderRecord& record);

// Maps `record` onto `contact`, begun afresh, numbered from its Index.
// `emailOption` 0 puts the e-mail in WORK_EMAIL, 1 in HOME_EMAIL, any other
// value nowhere.
void FillGalderContact(const GalderRecord& record, std::int16_t emailOption,
                       ContactLineWriter& contact);

// Maps `record` onto a contact and writes its line to `file`, then flushes
// it so that a full disk shows at once. Throws FileError when the line could
// not be written.
// `changes`, when given, is told what the Norvik's columns changed, at
// `position` (0: the record's Index + 1).
void WriteGalderRecord(const GalderRecord& record, ILineSink& file, std::int16_t emailOption,
                       IChangeSink* changes = nullptr, std::int64_t position = 0);

} // namespace addrix
