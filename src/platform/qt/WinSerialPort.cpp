#include "platform/qt/WinSerialPort.h"

#include <QMetaObject>

namespace addrix {

PortLocator SystemPortLocator(const IIniService&, std::string) {
    return [](int portNumber) {
        return "COM" + std::to_string(portNumber);
    };
}

WinSerialPort::WinSerialPort(PortLocator locate)
    : m_locate(std::move(locate)), m_notifier(m_line.readEvent()) {
    m_notifier.setEnabled(false);
    QObject::connect(&m_notifier, &QWinEventNotifier::activated, [this] { onReadDone(); });
}

WinSerialPort::~WinSerialPort() {
    close();
}

SerialOpenResult WinSerialPort::open(int portNumber) {
    close();
    const std::string device = m_locate ? m_locate(portNumber) : std::string();
    if (device.empty())
        return {SerialOpenResult::Status::NoSuchPort,
                "COM" + std::to_string(portNumber) + ": no serial device is assigned to this port"};
    SerialOpenResult result = m_line.open(device);
    if (!result.ok())
        return result;
    if (!m_line.startRead()) {
        close();
        return {SerialOpenResult::Status::Failed, device + ": the port cannot be read"};
    }
    m_notifier.setEnabled(true);
    return result;
}

void WinSerialPort::close() {
    m_notifier.setEnabled(false);
    m_line.close();
    m_received.clear();
    m_hungUp = false;
}

std::string WinSerialPort::readAll() {
    if (isOpen() && !collect())
        hangUp();
    std::string bytes;
    bytes.swap(m_received);
    return bytes;
}

bool WinSerialPort::collect() {
    if (!m_line.collect(m_received))
        return false;
    // The next read starts once the last one is over; none while it is pending.
    return m_line.startRead();
}

void WinSerialPort::onReadDone() {
    if (!collect()) {
        hangUp();
        return;
    }
    if (!m_received.empty())
        notifyDataReceived();
}

void WinSerialPort::hangUp() {
    if (!isOpen() || m_hungUp)
        return;
    // The other end hung up: reads fail for ever while the port stays open.
    // Close it, but not from inside the port's own notification. A port
    // closed meanwhile, or opened again, is no longer hung up.
    m_hungUp = true;
    m_notifier.setEnabled(false);
    QMetaObject::invokeMethod(
        &m_notifier,
        [this] {
            if (m_hungUp)
                close();
        },
        Qt::QueuedConnection);
}

} // namespace addrix
