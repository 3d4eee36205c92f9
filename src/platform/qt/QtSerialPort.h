#pragma once

#include "platform/qt/NotifyingSerialPort.h"
#include "platform/qt/PortLocator.h"

#include <QSerialPort>

#include <functional>
#include <string>

namespace addrix {

// MSComm1 on QSerialPort: 9600 bit/s, 8 data bits, no parity, 1 stop bit, no
// flow control.
class QtSerialPort final : public NotifyingSerialPort {
public:
    explicit QtSerialPort(PortLocator locate);
    ~QtSerialPort() override;
    QtSerialPort(const QtSerialPort&) = delete;
    QtSerialPort& operator=(const QtSerialPort&) = delete;

    SerialOpenResult open(int portNumber) override;
    void close() override;
    bool isOpen() const override;
    bool write(const std::string& bytes) override;
    std::string readAll() override;

private:
    void onError(QSerialPort::SerialPortError error);

    PortLocator m_locate;
    QSerialPort m_port;
};

} // namespace addrix
