#pragma once

#include <string>

namespace addrix {

// Outcome of opening a numbered serial port.
struct SerialOpenResult {
    enum class Status {
        Opened,
        NoSuchPort, // no device stands behind the number, or its node is missing
        Failed      // the port exists but cannot be opened (busy, locked, no permission)
    };
    Status status = Status::Failed;
    // For a failure: names the port, its device and the reason.
    std::string description;

    bool ok() const { return status == Status::Opened; }
};

// A COM port at 9600 bit/s, 8 data bits, no parity, 1 stop bit, no flow
// control. Data are bytes, one char each.
class ISerialPort {
public:
    virtual ~ISerialPort() = default;
    // Opens COM`portNumber` (1 for the first port).
    virtual SerialOpenResult open(int portNumber) = 0;
    // Closes the port; harmless when it is not open.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Queues `bytes` for sending; false when they could not be written.
    virtual bool write(const std::string& bytes) = 0;
    // Everything that has arrived and not been read yet (possibly nothing).
    virtual std::string readAll() = 0;
};

} // namespace addrix
