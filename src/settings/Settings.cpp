#include "settings/Settings.h"

#include "platform/IFileSystem.h"
#include "platform/IIniService.h"
#include "platform/NumberText.h"
#include "platform/PathUtil.h"
#include "platform/Text.h"

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

} // namespace

std::string SettingsFilePath(const IProgramLocation& program) {
    return WithTrailingSeparator(program.programDir()) + program.exeName() + ".INI";
}

std::optional<int> ListPosition(std::optional<double> saved, int count) {
    if (!saved || !(*saved >= -1.0 && *saved < static_cast<double>(count)))
        return std::nullopt;
    return static_cast<int>(*saved);
}

SavedSettings LoadSettings(const IIniService& ini, const std::string& iniPath) {
    SavedSettings saved;
    Settings& s = saved.settings;
    Choices& c = saved.choices;
    const auto key = [&](const char* name, const char* defaultValue) {
        return ReadKey(ini, iniPath, name, defaultValue);
    };
    Try([&] { s.DebugEnabled = AsciiLower(key("Debug", "FALSE")) == "true"; });
    Try([&] { c.GalderPort = RoundHalfEven(NumericValue(key("GalderPort", "0"))); });
    Try([&] { c.GalderEmail = RoundHalfEven(NumericValue(key("GalderEmail", "0"))); });
    Try([&] { c.IvroFile = key("IvroFile", ""); });
    Try([&] { s.MaxDeviceRecords = NumericValue(key("MaxDeviceRecords", "250")); });
    Try([&] { s.DisplayGalder = FormatNumber(NumericValue(key("DisplayGalder", "1"))); });
    Try([&] { c.LaunchDataPlug = key("LaunchDataPlug", "1") == "1"; });
    Try([&] { s.KestleEXEFilePath = key("KestleEXEFilePath", ""); });
    Try([&] { s.NorvikEXEFilePath = key("NorvikEXEFilePath", ""); });
    Try([&] { c.ExportPath = key("ExportPath", ""); });
    Try([&] { c.ExportFile = key("ExportFile", ""); });
    return saved;
}

bool SaveSettings(const Settings& settings, const Choices& choices, IIniService& ini,
                  const std::string& iniPath) {
    bool saved = true;
    const auto write = [&](const char* key, const std::optional<std::string>& value) {
        if (!value)
            return;
        bool written = false;
        Try([&] { written = ini.writeString(kSection, key, *value, iniPath); });
        saved = saved && written;
    };
    const auto position = [](const std::optional<double>& value) -> std::optional<std::string> {
        if (!value)
            return std::nullopt;
        return std::to_string(static_cast<int>(*value));
    };
    if (settings.DisplayGalder == "1") {
        write("GalderPort", position(choices.GalderPort));
        write("GalderEmail", position(choices.GalderEmail));
    }
    write("IvroFile",
          choices.IvroFile ? std::optional(TrimSpaces(*choices.IvroFile)) : std::nullopt);
    if (choices.LaunchDataPlug)
        write("LaunchDataPlug", std::string(*choices.LaunchDataPlug ? "1" : "0"));
    write("KestleEXEFilePath", settings.KestleEXEFilePath);
    write("NorvikEXEFilePath", settings.NorvikEXEFilePath);
    write("ExportPath", choices.ExportPath);
    write("ExportFile", choices.ExportFile);
    return saved;
}

} // namespace addrix
