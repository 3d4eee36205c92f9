#include "platform/SerialPortMap.h"

#include "platform/IniFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace addrix {
namespace {

// The devices deviceFor gives COM0 to COM17, as "number=device " each.
std::string Build(const std::string& ports, const std::vector<std::string>& present,
                  const std::set<std::string>& withUart = {}) {
    test::TempDir dir;
    const std::string ini = dir.write("addrix.INI", "[Ports]\r\n" + ports);
    const SerialPortMap map = SerialPortMap::Build(IniFile(), ini,
                                                   {[&] { return present; },
                                                    [&](const std::string& d) {
                                                        return withUart.count(d) != 0;
                                                    }});
    std::string assigned;
    for (int n = 0; n <= 17; ++n)
        if (const std::string device = map.deviceFor(n); !device.empty())
            assigned += std::to_string(n) + "=" + device + " ";
    return assigned;
}

TEST(SerialPortMap, AssignsNumbers) {
    EXPECT_EQ(Build("", {}), "");
    // Families in order, each numerically; ttyS3 has no UART behind it.
    EXPECT_EQ(Build("",
                    {"/dev/ttyACM0", "/dev/ttyUSB10", "/dev/ttyUSB2", "/dev/ttyS1", "/dev/ttyS0",
                     "/dev/ttyS3", "/dev/ttyUSB", "/dev/ttyUSBx1", "/dev/ttyAMA0", "/dev/tty0"},
                    {"/dev/ttyS0", "/dev/ttyS1"}),
              "1=/dev/ttyS0 2=/dev/ttyS1 3=/dev/ttyUSB2 4=/dev/ttyUSB10 5=/dev/ttyACM0 ");
    // The settings first; the others fill the lowest gaps.
    EXPECT_EQ(Build("COM1=/dev/ttyUSB1\r\nCOM3=/dev/pts/7\r\nCOM4=\r\nCOM16=/dev/a\r\n"
                    "COM17=/dev/b\r\nCOM0=/dev/c\r\n",
                    {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyACM0"}),
              "1=/dev/ttyUSB1 2=/dev/ttyUSB0 3=/dev/pts/7 4=/dev/ttyACM0 16=/dev/a ");
}

} // namespace
} // namespace addrix
