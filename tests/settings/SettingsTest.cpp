#include "settings/Settings.h"

#include "platform/IniFile.h"
#include "support/TestSupport.h"
#include "wizard/WizardTexts.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

namespace addrix {
namespace {

TEST(MaxRecordsCaptionTest, NamesTheLimit) {
    EXPECT_EQ(MaxRecordsCaption(1000),
              "The Norvik can only hold 1000 address records max.  If you attempt to load more "
              "than 1000 address records from your source, the extra records will not be "
              "exported.");
}

// The settings file, but for one key that cannot be written.
class FailingKeyIni final : public IIniService {
public:
    IniFile inner;
    std::string failingKey;
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t bufferSize,
                           const std::string& file) const override {
        return inner.readString(section, key, defaultValue, bufferSize, file);
    }
    bool writeString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& file) override {
        if (key == failingKey)
            throw std::runtime_error(key + " failed");
        return inner.writeString(section, key, value, file);
    }
};

class SettingsTest : public ::testing::Test {
protected:
    test::TempDir m_dir;
    std::string m_path = m_dir.file("addrix.INI");
    FailingKeyIni m_ini;

    // Loads `lines` of section [Settings] (the file as it is for "") and
    // applies it to a wizard with `ports` ports, entry 0 of each list
    // selected and stale texts; returns what the load left, in key order.
    std::string Load(const std::string& lines, int ports = 3) {
        if (!lines.empty())
            m_dir.write("addrix.INI", "[Settings]\r\n" + lines);
        const auto [s, c] = LoadSettings(m_ini, m_path);
        std::ostringstream state;
        state << s.DebugEnabled << '|' << ListPosition(c.GalderPort, ports).value_or(0) << '|'
              << ListPosition(c.GalderEmail, 3).value_or(0) << '|' << c.IvroFile.value_or("stale")
              << '|' << s.MaxDeviceRecords << '|' << s.DisplayGalder << '|'
              << c.LaunchDataPlug.value_or(false) << '|' << s.KestleEXEFilePath << '|'
              << s.NorvikEXEFilePath << '|' << c.ExportPath.value_or("stale") << '|'
              << c.ExportFile.value_or("stale");
        return state.str();
    }
};

TEST_F(SettingsTest, LoadReadsAndInterpretsEveryKey) {
    // Lines of [Settings], ports in the list, what the load leaves.
    using Case = std::tuple<std::string, int, std::string>;
    // clang-format off
    const Case cases[] = {
        {"", 3, "0|0|0||250|1|1||||"},
        {"Debug=true\nGalderPort=2\nGalderEmail=1\nIvroFile=C:\\a.adr\nMaxDeviceRecords=1000\n"
         "DisplayGalder=0\nLaunchDataPlug=0\nKestleEXEFilePath=k\nNorvikEXEFilePath=n\n"
         "ExportPath=C:\\out\nExportFile=b.csv\n", 3, "1|2|1|C:\\a.adr|1000|0|0|k|n|C:\\out|b.csv"},
        {"Debug=1\nLaunchDataPlug=01\nDisplayGalder=abc\nMaxDeviceRecords=abc\n", 3, "0|0|0||0|0|0||||"},
        {"Debug=True\nLaunchDataPlug=1\nDisplayGalder= 7 days\nMaxDeviceRecords=12.5x\n", 3,
         "1|0|0||12.5|7|1||||"},
        // A list position outside the list leaves the list as it was.
        {"GalderPort=-1\nGalderEmail=-1\n", 3, "0|-1|-1||250|1|1||||"},
        {"GalderPort=3\nGalderEmail=3\n", 4, "0|3|0||250|1|1||||"},
        {"GalderPort=1.5\nGalderEmail=2.5\n", 3, "0|2|2||250|1|1||||"}};
    // clang-format on
    for (const auto& [lines, ports, state] : cases)
        EXPECT_EQ(Load(lines, ports), state) << lines;
}

TEST_F(SettingsTest, SaveWritesTheUserValuesInOrderAndPassesOverAFailingKey) {
    const std::string other = "; hand-written\r\n[Ports]\r\nCOM1=Cradle\n\r\n";
    m_dir.write("addrix.INI", other + "[Settings]\r\nDebug=true\r\nExportFile=x\r\n");
    m_ini.failingKey = "KestleEXEFilePath";
    Settings settings;
    settings.DisplayGalder = "1";
    settings.NorvikEXEFilePath = "n.exe";
    Choices choices;
    choices.GalderPort = 2;
    choices.GalderEmail = -1;
    choices.IvroFile = "  C:\\a.adr  ";
    choices.LaunchDataPlug = true;
    choices.ExportPath = "  C:\\out ";
    choices.ExportFile = " b.csv";
    EXPECT_FALSE(SaveSettings(settings, choices, m_ini, m_path));
    EXPECT_EQ(test::ReadFile(m_path),
              other + "[Settings]\r\nDebug=true\r\nExportFile=\" b.csv\"\r\nGalderPort=2\r\n"
                      "GalderEmail=-1\r\nIvroFile=C:\\a.adr\r\nLaunchDataPlug=1\r\n"
                      "NorvikEXEFilePath=n.exe\r\nExportPath=\"  C:\\out \"\r\n");

    // Without the Galder source its choices are not kept.
    m_ini.failingKey.clear();
    for (const char* displayGalder : {"0", "2", "1.5", ""}) {
        m_dir.write("addrix.INI", "");
        settings.DisplayGalder = displayGalder;
        EXPECT_TRUE(SaveSettings(settings, choices, m_ini, m_path));
        EXPECT_EQ(test::ReadFile(m_path).find("Galder"), std::string::npos) << displayGalder;
    }
}

} // namespace
} // namespace addrix
