#pragma once

#include "platform/ISerialPort.h"

#include <memory>
#include <string>

namespace addrix {

// A Windows COM port through the Win32 calls: opened overlapped at 9600 bit/s,
// 8 data bits, no parity, 1 stop bit, no flow control. One read at a time is
// outstanding; its event is signalled when bytes have arrived (or the line
// failed), so that an event loop can wait for it without a thread.
class SerialLine {
public:
    SerialLine();
    ~SerialLine(); // closes, cancelling a pending read
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;

    // Opens `device` ("COM3").
    SerialOpenResult open(const std::string& device);
    // The failed open of `device` by the system's error: ERROR_FILE_NOT_FOUND
    // is a port that does not exist, ERROR_ACCESS_DENIED one that another
    // program holds.
    static SerialOpenResult OpenFailure(const std::string& device, unsigned long error);
    // Cancels a pending read, waits until the system has let go of its buffer,
    // and closes the handle. Harmless when closed.
    void close();
    bool isOpen() const;

    // Writes every byte, waiting until they are handed to the driver.
    bool write(const std::string& bytes);

    // Starts a read unless one is pending; false when the line failed.
    bool startRead();
    // The manual-reset event of the reads (a HANDLE), the same for every open.
    void* readEvent() const;
    // Appends what a completed read brought to `received` and resets the
    // event; nothing while the read is still pending. False when the line
    // failed (the other end hung up).
    bool collect(std::string& received);

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace addrix
