#pragma once

#include "platform/ISerialPort.h"
#include "platform/win/SerialLine.h"

#include <QWinEventNotifier>

#include <functional>
#include <string>

namespace addrix {

class IIniService;

// The device behind COM`portNumber`: on Windows the system's own "COMn".
using PortLocator = std::function<std::string(int portNumber)>;
PortLocator SystemPortLocator(const IIniService& ini, std::string iniPath);

// MSComm1 on Windows: a SerialLine whose read event the event loop watches,
// so that received bytes reach the handler on the user-interface thread as
// they arrive, with no thread of its own.
class WinSerialPort final : public ISerialPort {
public:
    explicit WinSerialPort(PortLocator locate);
    ~WinSerialPort() override;
    WinSerialPort(const WinSerialPort&) = delete;
    WinSerialPort& operator=(const WinSerialPort&) = delete;

    // Called on the owning thread whenever data have arrived.
    void setDataReceivedHandler(std::function<void()> handler) { m_onData = std::move(handler); }

    SerialOpenResult open(int portNumber) override;
    void close() override;
    bool isOpen() const override;
    bool write(const std::string& bytes) override;
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
    std::function<void()> m_onData;
    unsigned m_generation = 0; // counts opens, so that a late queued call leaves a new one alone
    bool m_delivering = false;
    bool m_closeQueued = false;
};

} // namespace addrix
