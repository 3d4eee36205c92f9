#include "settings/Settings.h"

#include "export/IWizardForm.h"
#include "export/NumberText.h"
#include "platform/IFileSystem.h"
#include "platform/IIniService.h"
#include "platform/PathUtil.h"

#include <exception>
#include <string>

namespace addrix {

namespace {

constexpr const char* kSection = "Settings";
constexpr std::size_t kValueBuffer = 1024;

// One key of section "Settings", or `defaultValue` when the file lacks it.
std::string ReadKey(const IIniService& ini, const std::string& iniPath, const char* key,
                    const char* defaultValue) {
    return ini.readString(kSection, key, defaultValue, kValueBuffer, iniPath);
}

// Runs one step of loading or saving; a step that fails is passed over.
template <typename Step> void Try(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
        // The next key does not depend on this one.
    }
}

// The list position that `text` names, when the list has it; -1 is no selection.
bool ListPosition(const std::string& text, int count, int& position) {
    const double value = RoundHalfEven(NumericValue(text));
    if (!(value >= -1.0 && value < static_cast<double>(count)))
        return false;
    position = static_cast<int>(value);
    return true;
}

std::string TrimSpaces(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos)
        return std::string();
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

} // namespace

std::string SettingsFilePath(const IProgramLocation& program) {
    return WithTrailingSeparator(program.programDir()) + program.exeName() + ".INI";
}

std::string MaxRecordsCaption(double maxRecords) {
    const std::string n = FormatNumber(maxRecords);
    return "The Norvik can only hold " + n +
           " address records max.  If you attempt to load more than " + n +
           " address records from your source, the extra records will not be exported.";
}

void LoadSettings(IWizardForm& wizard, Settings& settings, const IIniService& ini,
                  const std::string& iniPath) {
    Try([&] {
        std::string value = ReadKey(ini, iniPath, "Debug", "FALSE");
        for (char& c : value)
            c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        settings.DebugEnabled = value == "true";
    });
    Try([&] {
        int position = 0;
        if (ListPosition(ReadKey(ini, iniPath, "GalderPort", "0"), wizard.lstGalderCommPortCount(),
                         position))
            wizard.setLstGalderCommPortIndex(position);
    });
    Try([&] {
        int position = 0;
        if (ListPosition(ReadKey(ini, iniPath, "GalderEmail", "0"), wizard.lstGalderEmailCount(),
                         position))
            wizard.setLstGalderEmailIndex(position);
    });
    Try([&] { wizard.setTxtIvroFile(ReadKey(ini, iniPath, "IvroFile", "")); });
    Try([&] {
        settings.MaxDeviceRecords = NumericValue(ReadKey(ini, iniPath, "MaxDeviceRecords", "250"));
        wizard.setLblMaxRecords(MaxRecordsCaption(settings.MaxDeviceRecords));
    });
    Try([&] {
        settings.DisplayGalder =
            FormatNumber(NumericValue(ReadKey(ini, iniPath, "DisplayGalder", "1")));
    });
    Try([&] {
        wizard.setChkAutoDataPlug(ReadKey(ini, iniPath, "LaunchDataPlug", "1") == "1" ? 1 : 0);
    });
    Try([&] { settings.KestleEXEFilePath = ReadKey(ini, iniPath, "KestleEXEFilePath", ""); });
    Try([&] { settings.NorvikEXEFilePath = ReadKey(ini, iniPath, "NorvikEXEFilePath", ""); });
    Try([&] { wizard.setTxtDir(ReadKey(ini, iniPath, "ExportPath", "")); });
    Try([&] { wizard.setTxtFileName(ReadKey(ini, iniPath, "ExportFile", "")); });
}

bool SaveSettings(const IWizardForm& wizard, const Settings& settings, IIniService& ini,
                  const std::string& iniPath) {
    // Each value is taken inside its own step, so a control that fails
    // costs only its own key.
    bool saved = true;
    const auto write = [&](const char* key, auto&& value) {
        bool written = false;
        Try([&] { written = ini.writeString(kSection, key, value(), iniPath); });
        saved = saved && written;
    };
    if (settings.DisplayGalder == "1") {
        write("GalderPort", [&] { return std::to_string(wizard.lstGalderCommPortIndex()); });
        write("GalderEmail", [&] { return std::to_string(wizard.lstGalderEmailIndex()); });
    }
    write("IvroFile", [&] { return TrimSpaces(wizard.txtIvroFile()); });
    write("LaunchDataPlug", [&] { return std::to_string(wizard.chkAutoDataPlug()); });
    write("KestleEXEFilePath", [&] { return settings.KestleEXEFilePath; });
    write("NorvikEXEFilePath", [&] { return settings.NorvikEXEFilePath; });
    write("ExportPath", [&] { return wizard.txtDir(); });
    write("ExportFile", [&] { return wizard.txtFileName(); });
    return saved;
}

} // namespace addrix
