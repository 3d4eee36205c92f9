#pragma once

#include "platform/ISerialPort.h"

#include <QSerialPort>

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

// MSComm1 on QSerialPort: 9600 bit/s, 8 data bits, no parity, 1 stop bit, no
// flow control.
class QtSerialPort final : public ISerialPort {
public:
    explicit QtSerialPort(PortLocator locate);
    ~QtSerialPort() override;
    QtSerialPort(const QtSerialPort&) = delete;
    QtSerialPort& operator=(const QtSerialPort&) = delete;

    // Called on the owning thread whenever more data have arrived; bytes it
    // leaves unread get no call of their own.
    void setDataReceivedHandler(std::function<void()> handler) { m_onData = std::move(handler); }

    SerialOpenResult open(int portNumber) override;
    void close() override;
    bool isOpen() const override;
    bool write(const std::string& bytes) override;
    std::string readAll() override;

private:
    void onError(QSerialPort::SerialPortError error);

    PortLocator m_locate;
    QSerialPort m_port;
    std::function<void()> m_onData;
};

} // namespace addrix
