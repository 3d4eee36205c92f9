// The platform code against the real Windows calls (run under Wine in CI).
#include "platform/FilePath.h"
#include "platform/IniFile.h"
#include "platform/InterruptSignal.h"
#include "platform/StdFileSystem.h"
#include "platform/SystemWindowActivator.h"
#include "platform/TextFile.h"
#include "platform/win/WinRegistry.h"
#include "sources/ivro/IvroBackupLocation.h"
#include "support/TestSupport.h"

#include "platform/win/WindowsApi.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <thread>
#include <tuple>
#include <type_traits>

namespace addrix {
namespace {

TEST(WindowsPlatformTest, ReadsTheUsersRegistry) {
    const std::string key = "Software\\AddrixTest" + std::to_string(GetCurrentProcessId());
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    const WinRegistry registry;
    // Type and data stored, the value as text.
    const std::tuple<DWORD, std::string, std::string> cases[] = {
        {REG_SZ, std::string("C:\\Docs\0", 8), "C:\\Docs"},
        {REG_DWORD, std::string("\x07\x01\0\0", 4), "263"},
        {REG_BINARY, "\x01\xab", "01AB"},
        {REG_SZ, std::string(2047, 'a') + '\0', std::string(2047, 'a')},
        {REG_SZ, std::string(2048, 'a') + '\0', "Not Found"}};
    for (const auto& [type, data, expected] : cases) {
        RegSetValueExA(handle, "Value", 0, type, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size()));
        EXPECT_EQ(ReadRegistryValue(registry, key, "Value"), expected) << data.size();
    }
    RegCloseKey(handle);
    EXPECT_EQ(ReadRegistryValue(registry, key, "Missing"), "Not Found");
    EXPECT_EQ(ReadRegistryValue(registry, key + "\\None", "Value"), "Not Found");
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

using Window = std::unique_ptr<std::remove_pointer_t<HWND>, decltype(&DestroyWindow)>;

Window OpenWindow(const std::string& title, int show) {
    Window window(CreateWindowExA(0, "STATIC", title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, nullptr, nullptr),
                  DestroyWindow);
    ShowWindow(window.get(), show);
    return window;
}

TEST(WindowsPlatformTest, ActivatesOnlyAVisibleWindowByTitleOrItsBeginning) {
    const std::string title = "Addrix Test Manager " + std::to_string(GetCurrentProcessId());
    SystemWindowActivator activator;
    const Window exact = OpenWindow(title, SW_HIDE);
    ASSERT_TRUE(exact);
    EXPECT_FALSE(activator.activate(title));
    const Window prefixed = OpenWindow(title + " - Norvik", SW_SHOWMINIMIZED);
    EXPECT_TRUE(activator.activate(title));
    EXPECT_FALSE(IsIconic(prefixed.get()));
    // Shown below the other, the exact title still comes first.
    SetWindowPos(exact.get(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    const Window other = OpenWindow("Another program", SW_SHOWNORMAL);
    EXPECT_TRUE(activator.activate(title));
    EXPECT_EQ(GetForegroundWindow(), exact.get());
    EXPECT_FALSE(activator.activate(title + "x"));
}

// "José" and "café" in the Windows code page (1252), and the euro sign.
TEST(WindowsPlatformTest, FilesAndSettingsInAFolderOutsideAscii) {
    ASSERT_EQ(GetACP(), 1252u) << "the test's names are written in code page 1252";
    test::TempDir dir;
    const std::string folder = dir.path() + "\\Jos\xe9 \x80";
    ASSERT_TRUE(std::filesystem::create_directory(ToFsPath(folder)));
    EXPECT_TRUE(std::filesystem::exists(ToFsPath(dir.path()).wstring() + L"\\Jos\u00e9 \u20ac"));

    const std::string ini = folder + "\\caf\xe9.INI";
    IniFile settings;
    ASSERT_TRUE(settings.writeString("Settings", "Dir", "C:\\Jos\xe9", ini));
    EXPECT_EQ(settings.readString("Settings", "Dir", "", 255, ini), "C:\\Jos\xe9");
    EXPECT_TRUE(StdFileSystem().fileExists(ini));
    EXPECT_TRUE(StdFileSystem().canWrite(folder));

    const std::string csv = folder + "\\caf\xe9.csv";
    TextFileWriter writer;
    writer.open(csv);
    writer.writeLine("1,Jos\xe9");
    writer.close();
    TextFileReader reader;
    reader.open(csv);
    std::string line;
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line, "1,Jos\xe9");
}

// Another program reading the settings file holds it open without letting it
// be replaced; the rewrite waits for it, and fails whole if it never lets go.
TEST(WindowsPlatformTest, RewritesTheSettingsWhileAReaderHoldsThemBriefly) {
    test::TempDir dir;
    const std::string ini = dir.write("addrix.INI", "[Settings]\r\nDir=old\r\n");
    const auto hold = [&] {
        return CreateFileA(ini.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    };
    IniFile settings;
    HANDLE reader = hold();
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    std::thread release([reader] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        CloseHandle(reader);
    });
    EXPECT_TRUE(settings.writeString("Settings", "Dir", "new", ini));
    release.join();
    EXPECT_EQ(test::ReadFile(ini), "[Settings]\r\nDir=new\r\n");

    reader = hold();
    EXPECT_FALSE(settings.writeString("Settings", "Dir", "newer", ini));
    CloseHandle(reader);
    EXPECT_EQ(test::ReadFile(ini), "[Settings]\r\nDir=new\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// The C runtime turns the console's Ctrl-C and Ctrl-Break into signals.
TEST(WindowsPlatformTest, CtrlCAndCtrlBreakCancelTheCommandLine) {
    InterruptSignal interrupt;
    for (const int signal : {SIGINT, SIGBREAK}) {
        EXPECT_FALSE(interrupt.takePending());
        std::raise(signal);
        EXPECT_TRUE(interrupt.takePending()) << signal;
    }
}

} // namespace
} // namespace addrix
