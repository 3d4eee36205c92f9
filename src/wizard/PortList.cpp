#include "wizard/PortList.h"

#include "platform/ISerialPort.h"

#include <exception>

namespace addrix {

namespace {

// Closing is tidying up: a port that refuses to close must not stop the probe.
void CloseQuietly(ISerialPort& port) {
    try {
        if (port.isOpen())
            port.close();
    } catch (const std::exception&) {
    }
}

} // namespace

std::vector<int> ProbeSerialPorts(ISerialPort& port) {
    std::vector<int> found;
    for (int number = kFirstProbedPort; number <= kLastProbedPort; ++number) {
        CloseQuietly(port);
        SerialOpenResult result;
        try {
            result = port.open(number);
        } catch (const std::exception&) {
            // A port whose open fails in an unforeseen way still exists.
            result.status = SerialOpenResult::Status::Failed;
        }
        if (result.status != SerialOpenResult::Status::NoSuchPort)
            found.push_back(number);
        CloseQuietly(port);
    }
    return found;
}

std::string PortCaption(int portNumber) {
    return "COM" + std::to_string(portNumber);
}

} // namespace addrix
