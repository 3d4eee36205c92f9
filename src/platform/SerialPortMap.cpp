#include "platform/SerialPortMap.h"

#include "platform/IIniService.h"
#include "platform/Text.h"

#include <algorithm>
#include <set>
#include <utility>

namespace addrix {

namespace {

constexpr std::size_t kValueBuffer = 1024;

// The number after `family` in the node's name ("/dev/ttyUSB12" -> 12), or
// -1 when the name is not of that family.
long FamilyNumber(const std::string& device, const std::string& family) {
    const auto slash = device.find_last_of('/');
    const std::string name = slash == std::string::npos ? device : device.substr(slash + 1);
    if (name.size() <= family.size() || name.compare(0, family.size(), family) != 0)
        return -1;
    const std::string digits = name.substr(family.size());
    if (digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stol(digits);
}

} // namespace

SerialPortMap SerialPortMap::Build(const IIniService& ini, const std::string& iniPath,
                                   const Devices& devices) {
    SerialPortMap map;
    std::set<std::string> taken;
    for (int n = 1; n <= kHighestPort; ++n) {
        const std::string device = TrimBlanks(
            ini.readString(kSection, "COM" + std::to_string(n), "", kValueBuffer, iniPath));
        if (device.empty())
            continue;
        map.m_entries[n] = device;
        taken.insert(device);
    }

    std::vector<std::string> present;
    if (devices.list)
        present = devices.list();
    std::vector<std::string> found;
    for (const char* family : {"ttyS", "ttyUSB", "ttyACM"}) {
        std::vector<std::pair<long, std::string>> members;
        for (const std::string& device : present) {
            const long number = FamilyNumber(device, family);
            if (number < 0 || taken.count(device))
                continue;
            // Legacy ttyS nodes exist whether or not a UART answers behind them.
            if (family == std::string("ttyS") && !(devices.hasUart && devices.hasUart(device)))
                continue;
            members.emplace_back(number, device);
        }
        std::sort(members.begin(), members.end());
        members.erase(std::unique(members.begin(), members.end()), members.end());
        for (auto& member : members)
            found.push_back(std::move(member.second));
    }

    auto next = found.begin();
    for (int n = 1; n <= kHighestPort && next != found.end(); ++n) {
        if (map.m_entries.count(n))
            continue;
        map.m_entries[n] = *next++;
    }
    return map;
}

std::string SerialPortMap::deviceFor(int portNumber) const {
    const auto entry = m_entries.find(portNumber);
    return entry == m_entries.end() ? std::string() : entry->second;
}

} // namespace addrix
