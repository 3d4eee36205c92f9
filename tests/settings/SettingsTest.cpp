#include "settings/Settings.h"

#include "export/IWizardForm.h"
#include "platform/IniFile.h"
#include "platform/PathUtil.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace addrix {
namespace {

using test::FakeProgramLocation;
using test::ReadFile;
using test::TempDir;

constexpr const char* kAbsent = "<absent>";

// The wizard as its start-up leaves it before the settings are loaded: three
// ports and the first entry of each list selected.
FormValues FilledForm() {
    FormValues form;
    form.ports = {1, 2, 3};
    form.portIndex = 0;
    form.emailIndex = 0;
    form.dir = "stale dir";
    form.fileName = "stale name";
    form.ivroFile = "stale ivro";
    return form;
}

class SettingsTest : public ::testing::Test {
protected:
    // Writes a settings file holding `lines` under [Settings].
    void WriteSettings(const std::string& lines) {
        m_dir.write("addrix.INI", "[Settings]\r\n" + lines);
    }
    std::string Stored(const char* key) const {
        return m_ini.readString("Settings", key, kAbsent, 1024, m_path);
    }
    void Load() { LoadSettings(m_form, m_settings, m_ini, m_path); }
    void Save() { SaveSettings(m_form, m_settings, m_ini, m_path); }

    TempDir m_dir;
    std::string m_path = m_dir.file("addrix.INI");
    IniFile m_ini;
    FormValues m_form = FilledForm();
    Settings m_settings;
};

TEST(SettingsFilePathTest, JoinsFolderNameAndExtension) {
    const std::string sep(1, kPathSeparator);
    const struct {
        std::string dir;
        std::string expected;
    } cases[] = {
        {sep + "opt" + sep + "addrix", sep + "opt" + sep + "addrix" + sep + "addrix.INI"},
        {sep + "opt" + sep + "addrix" + sep, sep + "opt" + sep + "addrix" + sep + "addrix.INI"},
        {sep, sep + "addrix.INI"},
    };
    for (const auto& c : cases) {
        const FakeProgramLocation program(c.dir, "addrix");
        EXPECT_EQ(SettingsFilePath(program), c.expected) << c.dir;
    }
}

TEST(MaxRecordsCaptionTest, NamesTheLimitTwice) {
    EXPECT_EQ(MaxRecordsCaption(1000),
              "The Norvik can only hold 1000 address records max.  If you attempt to load more "
              "than 1000 address records from your source, the extra records will not be "
              "exported.");
    EXPECT_EQ(MaxRecordsCaption(0).substr(0, 27), "The Norvik can only hold 0 ");
}

TEST_F(SettingsTest, NoFileGivesTheDefaults) {
    Load();
    EXPECT_FALSE(m_settings.DebugEnabled);
    EXPECT_EQ(m_settings.MaxDeviceRecords, 250);
    EXPECT_EQ(m_form.maxRecordsCaption, MaxRecordsCaption(250));
    EXPECT_EQ(m_settings.DisplayGalder, "1");
    EXPECT_EQ(m_form.autoDataPlug, 1);
    EXPECT_EQ(m_form.portIndex, 0);
    EXPECT_EQ(m_form.emailIndex, 0);
    EXPECT_EQ(m_form.ivroFile, "");
    EXPECT_EQ(m_form.dir, "");
    EXPECT_EQ(m_form.fileName, "");
    EXPECT_EQ(m_settings.KestleEXEFilePath, "");
    EXPECT_EQ(m_settings.NorvikEXEFilePath, "");
}

TEST_F(SettingsTest, ReadsEveryKey) {
    WriteSettings("Debug=true\r\nGalderPort=2\r\nGalderEmail=1\r\nIvroFile=C:\\a.adr\r\n"
                  "MaxDeviceRecords=1000\r\nDisplayGalder=0\r\nLaunchDataPlug=0\r\n"
                  "KestleEXEFilePath=k.exe\r\nNorvikEXEFilePath=n.exe\r\n"
                  "ExportPath=C:\\out\r\nExportFile=book.csv\r\n");
    Load();
    EXPECT_TRUE(m_settings.DebugEnabled);
    EXPECT_EQ(m_form.portIndex, 2);
    EXPECT_EQ(m_form.emailIndex, 1);
    EXPECT_EQ(m_form.ivroFile, "C:\\a.adr");
    EXPECT_EQ(m_settings.MaxDeviceRecords, 1000);
    EXPECT_EQ(m_form.maxRecordsCaption, MaxRecordsCaption(1000));
    EXPECT_EQ(m_settings.DisplayGalder, "0");
    EXPECT_EQ(m_form.autoDataPlug, 0);
    EXPECT_EQ(m_settings.KestleEXEFilePath, "k.exe");
    EXPECT_EQ(m_settings.NorvikEXEFilePath, "n.exe");
    EXPECT_EQ(m_form.dir, "C:\\out");
    EXPECT_EQ(m_form.fileName, "book.csv");
}

TEST_F(SettingsTest, InterpretsTheFlagsAndNumbers) {
    const struct {
        const char* key;
        const char* value;
        bool debug;
        int autoDataPlug;
        const char* displayGalder;
        double maxRecords;
    } cases[] = {
        {"Debug", "True", true, 1, "1", 250},
        {"Debug", "TRUE", true, 1, "1", 250},
        {"Debug", "true", true, 1, "1", 250},
        {"Debug", "1", false, 1, "1", 250},
        {"Debug", "yes", false, 1, "1", 250},
        {"LaunchDataPlug", "1", false, 1, "1", 250},
        {"LaunchDataPlug", "yes", false, 0, "1", 250},
        {"LaunchDataPlug", "0", false, 0, "1", 250},
        {"LaunchDataPlug", "2", false, 0, "1", 250},
        {"LaunchDataPlug", "01", false, 0, "1", 250},
        {"DisplayGalder", "0", false, 1, "0", 250},
        {"DisplayGalder", "2", false, 1, "2", 250},
        {"DisplayGalder", "1.50", false, 1, "1.5", 250},
        {"DisplayGalder", "abc", false, 1, "0", 250},
        {"DisplayGalder", " 7 days", false, 1, "7", 250},
        {"MaxDeviceRecords", "1000", false, 1, "1", 1000},
        {"MaxDeviceRecords", "abc", false, 1, "1", 0},
        {"MaxDeviceRecords", "12.5x", false, 1, "1", 12.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        WriteSettings(std::string(c.key) + "=" + c.value + "\r\n");
        m_form = FilledForm();
        m_settings = Settings{};
        Load();
        EXPECT_EQ(m_settings.DebugEnabled, c.debug);
        EXPECT_EQ(m_form.autoDataPlug, c.autoDataPlug);
        EXPECT_EQ(m_settings.DisplayGalder, c.displayGalder);
        EXPECT_EQ(m_settings.MaxDeviceRecords, c.maxRecords);
        EXPECT_EQ(m_form.maxRecordsCaption, MaxRecordsCaption(c.maxRecords));
    }
}

TEST_F(SettingsTest, ListPositionsOutsideTheListAreIgnored) {
    const struct {
        const char* stored;
        int portCount;
        int expectedPort;  // list filled with entry 0 selected
        int expectedEmail; // three entries, entry 0 selected
    } cases[] = {
        {"2", 3, 2, 2},    {"3", 3, 0, 0},   {"3", 4, 3, 0},   {"-1", 3, -1, -1},
        {"-2", 3, 0, 0},   {"abc", 3, 0, 0}, {"1.5", 3, 2, 2}, {"2.5", 3, 2, 2},
        {"2.7", 3, 0, 0},  {"2.7", 4, 3, 0}, {"0.4", 3, 0, 0}, {"99999999999", 3, 0, 0},
        {"-1", 0, -1, -1}, {"0", 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stored) + " of " + std::to_string(c.portCount));
        WriteSettings(std::string("GalderPort=") + c.stored + "\r\nGalderEmail=" + c.stored +
                      "\r\n");
        m_form = FilledForm();
        m_form.ports.assign(static_cast<std::size_t>(c.portCount), 7);
        Load();
        EXPECT_EQ(m_form.portIndex, c.expectedPort);
        EXPECT_EQ(m_form.emailIndex, c.expectedEmail);
    }
}

TEST_F(SettingsTest, LongValueIsReadBackCut) {
    WriteSettings("IvroFile=" + std::string(1500, 'p') + "\r\n");
    Load();
    EXPECT_EQ(m_form.ivroFile, std::string(1023, 'p'));
}

TEST_F(SettingsTest, SavesTheUserValuesInOrder) {
    m_settings.DisplayGalder = "1";
    m_settings.KestleEXEFilePath = "C:\\K\\k.exe";
    m_settings.NorvikEXEFilePath = "C:\\N\\NorvikMgr.exe";
    m_form.portIndex = 2;
    m_form.emailIndex = -1;
    m_form.ivroFile = "  C:\\backup\\addressBook.adr  ";
    m_form.autoDataPlug = 1;
    m_form.dir = "C:\\out";
    m_form.fileName = "NorvikaddressBook.csv";
    Save();
    EXPECT_EQ(ReadFile(m_path), "[Settings]\r\n"
                                "GalderPort=2\r\n"
                                "GalderEmail=-1\r\n"
                                "IvroFile=C:\\backup\\addressBook.adr\r\n"
                                "LaunchDataPlug=1\r\n"
                                "KestleEXEFilePath=C:\\K\\k.exe\r\n"
                                "NorvikEXEFilePath=C:\\N\\NorvikMgr.exe\r\n"
                                "ExportPath=C:\\out\r\n"
                                "ExportFile=NorvikaddressBook.csv\r\n");
}

TEST_F(SettingsTest, GalderKeysOnlyWhenDisplayGalderIsExactlyOne) {
    const struct {
        const char* displayGalder;
        bool written;
    } cases[] = {{"1", true}, {"0", false}, {"2", false}, {"1.5", false}, {"", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.displayGalder);
        WriteSettings("");
        m_settings.DisplayGalder = c.displayGalder;
        m_form = FilledForm();
        m_form.portIndex = 1;
        m_form.emailIndex = 2;
        Save();
        EXPECT_EQ(Stored("GalderPort"), c.written ? "1" : kAbsent);
        EXPECT_EQ(Stored("GalderEmail"), c.written ? "2" : kAbsent);
        EXPECT_EQ(Stored("LaunchDataPlug"), "0");
    }
}

TEST_F(SettingsTest, IvroFileIsTrimmedTheExportPathsAreNot) {
    m_form.ivroFile = "   a.adr ";
    m_form.dir = "  C:\\out  ";
    m_form.fileName = " book.csv";
    Save();
    EXPECT_EQ(Stored("IvroFile"), "a.adr");
    EXPECT_EQ(Stored("ExportPath"), "  C:\\out  ");
    EXPECT_EQ(Stored("ExportFile"), " book.csv");

    FormValues loaded = FilledForm();
    Settings settings;
    LoadSettings(loaded, settings, m_ini, m_path);
    EXPECT_EQ(loaded.dir, "  C:\\out  ");
    EXPECT_EQ(loaded.fileName, " book.csv");
}

TEST_F(SettingsTest, OtherSectionsAndCommentsSurviveASave) {
    const std::string ports = "; hand-written\r\n[Ports]\r\nCOM1=Cradle\r\nCOM2 = spare\n\r\n";
    m_dir.write("addrix.INI", ports + "[Settings]\r\nDebug=true\r\nIvroFile=old.adr\r\n");
    Load();
    m_settings.NorvikEXEFilePath = "n.exe";
    m_form.ivroFile = "new.adr";
    Save();
    const std::string after = ReadFile(m_path);
    EXPECT_EQ(after.substr(0, ports.size()), ports);
    EXPECT_EQ(after.substr(ports.size(), 42), "[Settings]\r\nDebug=true\r\nIvroFile=new.adr\r\n");
    EXPECT_EQ(m_ini.readString("Ports", "COM2", "", 1024, m_path), "spare");
    EXPECT_EQ(Stored("NorvikEXEFilePath"), "n.exe");
}

// A service that fails for one key and answers the others from a real file.
class FailingKeyIni final : public IIniService {
public:
    FailingKeyIni(IniFile& inner, std::string failingKey)
        : m_inner(inner), m_failingKey(std::move(failingKey)) {}
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& defaultValue, std::size_t bufferSize,
                           const std::string& file) const override {
        if (key == m_failingKey)
            throw std::runtime_error("read failed");
        return m_inner.readString(section, key, defaultValue, bufferSize, file);
    }
    bool writeString(const std::string& section, const std::string& key, const std::string& value,
                     const std::string& file) override {
        if (key == m_failingKey)
            throw std::runtime_error("write failed");
        return m_inner.writeString(section, key, value, file);
    }

private:
    IniFile& m_inner;
    std::string m_failingKey;
};

TEST_F(SettingsTest, AFailingKeyIsPassedOver) {
    WriteSettings("IvroFile=a.adr\r\nExportFile=b.csv\r\n");
    FailingKeyIni ini(m_ini, "IvroFile");
    LoadSettings(m_form, m_settings, ini, m_path);
    EXPECT_EQ(m_form.ivroFile, "stale ivro");
    EXPECT_EQ(m_form.fileName, "b.csv");

    m_form.fileName = "c.csv";
    m_form.ivroFile = "z.adr";
    SaveSettings(m_form, m_settings, ini, m_path);
    EXPECT_EQ(Stored("IvroFile"), "a.adr");
    EXPECT_EQ(Stored("ExportFile"), "c.csv");
}

} // namespace
} // namespace addrix
