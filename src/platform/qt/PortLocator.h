#pragma once

#include <functional>
#include <string>

namespace addrix {

class IIniService;

// The device behind COM`portNumber` ("/dev/ttyUSB0", or "COM3" where the
// system has COM ports of its own); empty when there is none.
using PortLocator = std::function<std::string(int portNumber)>;

// The system's COM numbers. On Windows COMn is the system's own port;
// elsewhere the [Ports] section of `iniPath`, then the serial devices present
// (see SerialPortMap), looked up afresh at every open so that a device
// plugged in later is found.
PortLocator SystemPortLocator(const IIniService& ini, std::string iniPath);

} // namespace addrix
