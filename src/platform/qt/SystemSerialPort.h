#pragma once

// The serial port of the system the program is built for, with its
// PortLocator and SystemPortLocator: QSerialPort's where Qt has one, the
// Win32 one on Windows.
#ifdef _WIN32
#include "platform/qt/WinSerialPort.h"
namespace addrix {
using SystemSerialPort = WinSerialPort;
}
#else
#include "platform/qt/QtSerialPort.h"
namespace addrix {
using SystemSerialPort = QtSerialPort;
}
#endif
