#include "platform/SerialPortMap.h"

#include "platform/IniFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace addrix {
namespace {

using Ports = std::map<int, std::string>;

Ports Build(const std::string& ports, const std::vector<std::string>& present,
            const std::set<std::string>& withUart = {}) {
    test::TempDir dir;
    const std::string ini = dir.write("addrix.INI", "[Ports]\r\n" + ports);
    const SerialPortMap map = SerialPortMap::Build(IniFile(), ini,
                                                   {[&] { return present; },
                                                    [&](const std::string& d) {
                                                        return withUart.count(d) != 0;
                                                    }});
    Ports assigned; // as deviceFor answers COM0 to COM17
    for (int n = 0; n <= 17; ++n)
        if (const std::string device = map.deviceFor(n); !device.empty())
            assigned[n] = device;
    return assigned;
}

TEST(SerialPortMap, AssignsNumbers) {
    // Lines of the [Ports] section, devices present, ttyS devices with a UART, the map.
    using Case = std::tuple<std::string, std::vector<std::string>, std::set<std::string>, Ports>;
    const Case cases[] = {
        {"", {}, {}, {}},
        // Families in order, each numerically; ttyS3 has no UART behind it.
        {"",
         {"/dev/ttyACM0", "/dev/ttyUSB10", "/dev/ttyUSB2", "/dev/ttyS1", "/dev/ttyS0", "/dev/ttyS3",
          "/dev/ttyUSB", "/dev/ttyUSBx1", "/dev/ttyAMA0", "/dev/tty0"},
         {"/dev/ttyS0", "/dev/ttyS1"},
         {{1, "/dev/ttyS0"},
          {2, "/dev/ttyS1"},
          {3, "/dev/ttyUSB2"},
          {4, "/dev/ttyUSB10"},
          {5, "/dev/ttyACM0"}}},
        // The settings first; the others fill the lowest gaps.
        {"COM1=/dev/ttyUSB1\r\nCOM3=/dev/pts/7\r\nCOM4=\r\nCOM16=/dev/a\r\nCOM17=/dev/b\r\n"
         "COM0=/dev/c\r\n",
         {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyACM0"},
         {},
         {{1, "/dev/ttyUSB1"},
          {2, "/dev/ttyUSB0"},
          {3, "/dev/pts/7"},
          {4, "/dev/ttyACM0"},
          {16, "/dev/a"}}}};
    for (const auto& [ports, present, withUart, expected] : cases)
        EXPECT_EQ(Build(ports, present, withUart), expected) << ports;
}

} // namespace
} // namespace addrix
