#include "platform/qt/QtSerialPort.h"

#include "platform/SerialPortMap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>

namespace addrix {

namespace {

QString DevicePath(const std::string& device) {
    return QString::fromLocal8Bit(device.data(), static_cast<qsizetype>(device.size()));
}

#ifndef _WIN32
std::vector<std::string> SystemSerialDevices() {
    std::vector<std::string> devices;
    const QDir dev(QStringLiteral("/dev"));
    const QStringList names = dev.entryList(
        {QStringLiteral("ttyS*"), QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
        QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& name : names)
        devices.push_back(dev.absoluteFilePath(name).toLocal8Bit().toStdString());
    return devices;
}

// A ttyS node is a port only with a driver bound to it. The 8250 driver (and
// the serial-base port driver of newer kernels) also binds the legacy nodes,
// whose port type 0 says that no UART answered.
bool SystemHasUart(const std::string& device) {
    const QString sys =
        QStringLiteral("/sys/class/tty/") + QFileInfo(DevicePath(device)).fileName();
    if (!QFileInfo::exists(sys + QStringLiteral("/device/driver")))
        return false;
    QFile type(sys + QStringLiteral("/type"));
    if (!type.open(QIODevice::ReadOnly))
        return true;
    return type.readAll().trimmed().toInt() != 0;
}
#endif

std::string Label(int portNumber, const std::string& device) {
    std::string label = "COM" + std::to_string(portNumber);
    if (!device.empty() && device != label)
        label += " (" + device + ")";
    return label;
}

} // namespace

PortLocator SystemPortLocator(const IIniService& ini, std::string iniPath) {
#ifdef _WIN32
    (void)ini;
    (void)iniPath;
    return [](int portNumber) {
        return "COM" + std::to_string(portNumber);
    };
#else
    return [&ini, iniPath = std::move(iniPath)](int portNumber) {
        const SerialPortMap map =
            SerialPortMap::Build(ini, iniPath, {SystemSerialDevices, SystemHasUart});
        return map.deviceFor(portNumber);
    };
#endif
}

QtSerialPort::QtSerialPort(PortLocator locate) : m_locate(std::move(locate)) {
    QObject::connect(&m_port, &QSerialPort::readyRead, [this] { notifyDataReceived(); });
    QObject::connect(&m_port, &QSerialPort::errorOccurred,
                     [this](QSerialPort::SerialPortError error) { onError(error); });
}

QtSerialPort::~QtSerialPort() {
    m_port.disconnect();
    m_port.close();
}

SerialOpenResult QtSerialPort::open(int portNumber) {
    close();
    const std::string device = m_locate ? m_locate(portNumber) : std::string();
    const std::string label = Label(portNumber, device);
    if (device.empty())
        return {SerialOpenResult::Status::NoSuchPort,
                label + ": no serial device is assigned to this port"};
#ifndef _WIN32
    if (!QFileInfo::exists(DevicePath(device)))
        return {SerialOpenResult::Status::NoSuchPort, label + ": the device does not exist"};
#endif
    m_port.setPortName(DevicePath(device));
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (m_port.open(QIODevice::ReadWrite))
        return {SerialOpenResult::Status::Opened, {}};

    const QSerialPort::SerialPortError error = m_port.error();
    const std::string reason = m_port.errorString().toStdString();
    m_port.clearError();
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return {SerialOpenResult::Status::NoSuchPort, label + ": the device does not exist"};
    case QSerialPort::PermissionError: {
#ifndef _WIN32
        // Busy (locked or held exclusively) and forbidden both come as a
        // permission error; the node's own permissions tell them apart.
        const QFileInfo node(DevicePath(device));
        if (!node.isReadable() || !node.isWritable())
            return {SerialOpenResult::Status::Failed,
                    label + ": access to the device is denied (" + reason + ")"};
#endif
        return {SerialOpenResult::Status::Failed,
                label + ": the port is in use by another program"};
    }
    default:
        return {SerialOpenResult::Status::Failed,
                label + ": the port cannot be opened (" + reason + ")"};
    }
}

void QtSerialPort::close() {
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

bool QtSerialPort::isOpen() const {
    return m_port.isOpen();
}

bool QtSerialPort::write(const std::string& bytes) {
    if (!m_port.isOpen())
        return false;
    const qint64 written = m_port.write(bytes.data(), static_cast<qint64>(bytes.size()));
    // Out now rather than on the next turn of the event loop: the device
    // waits for each acknowledgement.
    m_port.flush();
    return written == static_cast<qint64>(bytes.size());
}

std::string QtSerialPort::readAll() {
    if (!m_port.isOpen())
        return {};
    const QByteArray data = m_port.readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
    if (error != QSerialPort::ReadError && error != QSerialPort::ResourceError)
        return;
    if (!m_port.isOpen())
        return;
    // The other end hung up: reads fail for ever while the port stays open.
    // Close it, but not from inside the port's own notification. A port
    // closed meanwhile has its error cleared, and so does one opened again.
    QMetaObject::invokeMethod(
        &m_port,
        [this] {
            const QSerialPort::SerialPortError now = m_port.error();
            if (now == QSerialPort::ReadError || now == QSerialPort::ResourceError)
                close();
        },
        Qt::QueuedConnection);
}

} // namespace addrix
