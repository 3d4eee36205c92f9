#include "platform/SerialPortMap.h"
#include "platform/IIniService.h"

#include <gtest/gtest.h>

#include <ostream>

#include <map>
#include <set>

namespace addrix {
namespace {

// An initialisation file held in memory; section and key names are stored
// as given and looked up exactly, which is all the map needs.
class MapIni final : public IIniService {
public:
    std::map<std::pair<std::string, std::string>, std::string> values;
    mutable std::vector<std::string> filesRead;

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t /*bufferSize*/,
                           const std::string& file) const override {
        filesRead.push_back(file);
        const auto found = values.find({section, key});
        return found == values.end() ? defaultValue : found->second;
    }
    bool writeString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string&) override {
        values[{section, key}] = value;
        return true;
    }
};

struct MapCase {
    const char* name;
    std::map<std::string, std::string> ports; // [Ports] keys
    std::vector<std::string> present;
    std::set<std::string> withUart;
    std::map<int, std::string> expected;
};

// Cases print as their names.
void PrintTo(const MapCase& c, std::ostream* os) {
    *os << c.name;
}

class SerialPortMapTest : public ::testing::TestWithParam<MapCase> {};

TEST_P(SerialPortMapTest, AssignsNumbers) {
    const MapCase& c = GetParam();
    MapIni ini;
    for (const auto& [key, value] : c.ports)
        ini.values[{"Ports", key}] = value;
    SerialPortMap::Devices devices{[&] { return c.present; },
                                   [&](const std::string& d) {
                                       return c.withUart.count(d) != 0;
                                   }};
    const SerialPortMap map = SerialPortMap::Build(ini, "/opt/addrix/addrix.INI", devices);
    EXPECT_EQ(map.entries(), c.expected);
    for (int n = 0; n <= 17; ++n) {
        const auto it = c.expected.find(n);
        EXPECT_EQ(map.deviceFor(n), it == c.expected.end() ? "" : it->second) << "COM" << n;
    }
    ASSERT_FALSE(ini.filesRead.empty());
    EXPECT_EQ(ini.filesRead.front(), "/opt/addrix/addrix.INI");
}

const MapCase kMapCases[] = {
    {"NothingAtAll", {}, {}, {}, {}},
    {"FamiliesInOrderEachNumerically",
     {},
     {"/dev/ttyACM0", "/dev/ttyUSB10", "/dev/ttyUSB2", "/dev/ttyS1", "/dev/ttyS0"},
     {"/dev/ttyS0", "/dev/ttyS1"},
     {{1, "/dev/ttyS0"},
      {2, "/dev/ttyS1"},
      {3, "/dev/ttyUSB2"},
      {4, "/dev/ttyUSB10"},
      {5, "/dev/ttyACM0"}}},
    {"LegacyNodesWithoutUartAreNotPorts",
     {},
     {"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3", "/dev/ttyUSB0"},
     {"/dev/ttyS2"},
     {{1, "/dev/ttyS2"}, {2, "/dev/ttyUSB0"}}},
    {"SettingsComeFirstAndOthersFillTheGaps",
     {{"COM1", "/dev/ttyUSB1"}, {"COM3", "/dev/pts/7"}},
     {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0"},
     {},
     {{1, "/dev/ttyUSB1"}, {2, "/dev/ttyUSB0"}, {3, "/dev/pts/7"}, {4, "/dev/ttyACM0"}}},
    {"BlanksAroundAValueAreDroppedAndEmptyValuesIgnored",
     {{"COM2", "  /dev/ttyS9 \t"}, {"COM4", "   "}},
     {},
     {},
     {{2, "/dev/ttyS9"}}},
    {"OnlyComOneToSixteenAreRead",
     {{"COM16", "/dev/a"}, {"COM17", "/dev/b"}, {"COM0", "/dev/c"}},
     {},
     {},
     {{16, "/dev/a"}}},
    {"NamesOutsideTheFamiliesAreIgnored",
     {},
     {"/dev/ttyUSB", "/dev/ttyUSBx1", "/dev/ttyAMA0", "/dev/tty0", "/dev/ttyUSB3"},
     {},
     {{1, "/dev/ttyUSB3"}}},
    {"NoMoreThanSixteenPorts",
     {{"COM1", "/dev/ttyACM9"}},
     {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB2", "/dev/ttyUSB3", "/dev/ttyUSB4",
      "/dev/ttyUSB5", "/dev/ttyUSB6", "/dev/ttyUSB7", "/dev/ttyUSB8", "/dev/ttyUSB9",
      "/dev/ttyUSB10", "/dev/ttyUSB11", "/dev/ttyUSB12", "/dev/ttyUSB13", "/dev/ttyUSB14",
      "/dev/ttyUSB15", "/dev/ttyUSB16"},
     {},
     {{1, "/dev/ttyACM9"},
      {2, "/dev/ttyUSB0"},
      {3, "/dev/ttyUSB1"},
      {4, "/dev/ttyUSB2"},
      {5, "/dev/ttyUSB3"},
      {6, "/dev/ttyUSB4"},
      {7, "/dev/ttyUSB5"},
      {8, "/dev/ttyUSB6"},
      {9, "/dev/ttyUSB7"},
      {10, "/dev/ttyUSB8"},
      {11, "/dev/ttyUSB9"},
      {12, "/dev/ttyUSB10"},
      {13, "/dev/ttyUSB11"},
      {14, "/dev/ttyUSB12"},
      {15, "/dev/ttyUSB13"},
      {16, "/dev/ttyUSB14"}}},
    {"ADeviceNamedInTheSettingsGetsNoSecondNumber",
     {{"COM5", "/dev/ttyACM0"}},
     {"/dev/ttyACM0", "/dev/ttyACM1", "/dev/ttyACM1"},
     {},
     {{1, "/dev/ttyACM1"}, {5, "/dev/ttyACM0"}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, SerialPortMapTest, ::testing::ValuesIn(kMapCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SerialPortMapDefault, NoDeviceFunctionsMeansOnlyTheSettings) {
    MapIni ini;
    ini.values[{"Ports", "COM2"}] = "/dev/pts/3";
    const SerialPortMap map = SerialPortMap::Build(ini, "x.INI", {});
    EXPECT_EQ(map.entries(), (std::map<int, std::string>{{2, "/dev/pts/3"}}));
}

} // namespace
} // namespace addrix
