#pragma once

#include <string>

namespace addrix {

// One contact as the 22 text fields of the Norvik address-book columns, in
// column order. A source fills it; WriteContactLine normalises it in place.
struct ContactRecord {
    std::string ContactId;
    std::string EntryIndex;
    std::string GroupOrPersonal;
    std::string FirstName;
    std::string LastName;
    std::string WirelessAddress;
    std::string WorkEmail;
    std::string HomeEmail;
    std::string DefaultAddress;
    std::string GroupOfWirelessAddress;
    std::string GroupOfWorkEmail;
    std::string GroupOfHomeEmail;
    std::string Company;
    std::string HomePhone;
    std::string WorkPhone;
    std::string MobilePhone;
    std::string Fax;
    std::string Street;
    std::string City;
    std::string State;
    std::string Zip;
    std::string Note;
};

// Line 1 of every Norvik address-book file.
inline constexpr const char* kNorvikCsvHeader =
    "CONTACT_ID,ENTRY_INDEX,GROUP_OR_PERSONAL,FIRST_NAME,LAST_NAME,WIRELESS_ADDRESS,WORK_EMAIL,"
    "HOME_EMAIL,DEFAULT_ADDRESS,GROUP_OF_WIRELESS_ADDRESS,GROUP_OF_WORK_EMAIL,GROUP_OF_HOME_EMAIL,"
    "COMPANY,HOME_PHONE,WORK_PHONE,MOBILE_PHONE,FAX,STREET,CITY,STATE,ZIP,NOTE";

} // namespace addrix
