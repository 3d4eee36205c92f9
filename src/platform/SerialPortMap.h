#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace addrix {

class IIniService;

// Which device stands behind COM1 to COM16 on a system without COM ports of
// its own. The [Ports] section of the settings file comes first
// ("COM3=/dev/ttyUSB0"); the serial devices present then take the lowest
// numbers left free: ttyS nodes with a UART behind them, then ttyUSB, then
// ttyACM, each family in numeric order.
class SerialPortMap {
public:
    static constexpr int kHighestPort = 16;
    static constexpr const char* kSection = "Ports";

    // The device nodes present (full paths, any order) and whether a ttyS
    // node has a UART behind it.
    struct Devices {
        std::function<std::vector<std::string>()> list;
        std::function<bool(const std::string& device)> hasUart;
    };

    SerialPortMap() = default;
    static SerialPortMap Build(const IIniService& ini, const std::string& iniPath,
                               const Devices& devices);

    // The device of COM`portNumber`; empty when none stands behind it.
    std::string deviceFor(int portNumber) const;
    const std::map<int, std::string>& entries() const { return m_entries; }

private:
    std::map<int, std::string> m_entries;
};

} // namespace addrix
