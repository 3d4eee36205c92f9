#pragma once

#include <string>

namespace addrix::test {

// One contact as the 22 text fields of the Norvik address-book columns, in
// column order: what the clean-up rules normalise in place.
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

} // namespace addrix::test
