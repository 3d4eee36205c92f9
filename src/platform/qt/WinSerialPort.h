#pragma once

#include "platform/qt/NotifyingSerialPort.h"
#include "platform/qt/PortLocator.h"
#include "platform/win/SerialLine.h"

#include <QWinEventNotifier>

#include <functional>
#include <string>

namespace addrix {

// MSComm1 on Windows: a SerialLine whose read event the event loop watches,
// so that received bytes reach the handler on the user-interface thread as
// they arrive, with no thread of its own.
class WinSerialPort final : public NotifyingSerialPort {
public:
    explicit WinSerialPort(PortLocator locate);
    ~WinSerialPort() override;
    WinSerialPort(const WinSerialPort&) = delete;
    WinSerialPort& operator=(const WinSerialPort&) = delete;

    // \\.\COMn, overlapped, 9600 8N1 through the DCB; a missing port
    // (ERROR_FILE_NOT_FOUND) is told from a busy one (ERROR_ACCESS_DENIED).
    SerialOpenResult open(int portNumber) override;
    // Cancels a pending read and waits for it.
    void close() override;
    bool isOpen() const override { return m_line.isOpen(); }
    bool write(const std::string& bytes) override { return m_line.write(bytes); }
    // What the completed reads brought; a failed read is a hang-up, which
    // closes the port soon after.
    std::string readAll() override;

private:
    // Takes a completed read and starts the next; false when the line failed.
    bool collect();
    void onReadDone();
    void hangUp();

    PortLocator m_locate;
    SerialLine m_line;
    QWinEventNotifier m_notifier; // on the line's read event, enabled while open
    std::string m_received;
    bool m_hungUp = false; // the other end hung up; cleared when the port closes
};

} // namespace addrix
