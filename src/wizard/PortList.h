#pragma once

#include <string>
#include <vector>

namespace addrix {

class ISerialPort;

// The serial ports the wizard offers: COM1 to COM16.
inline constexpr int kFirstProbedPort = 1;
inline constexpr int kLastProbedPort = 16;

// The numbers of the ports among COM1..COM16 that exist, in ascending order.
// A port that exists but cannot be opened (busy, no permission) is listed all
// the same; only a port that does not exist is left out. No port is left
// open afterwards, and no error leaves the probe.
std::vector<int> ProbeSerialPorts(ISerialPort& port);

// The list entry of port `portNumber`: "COM" and the number ("COM3").
std::string PortCaption(int portNumber);

} // namespace addrix
