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

#include <csignal>
#include <filesystem>
#include <memory>
#include <thread>
#include <tuple>

namespace addrix {
namespace {

TEST(WindowsPlatformTest, ReadsTheUsersRegistry) {
    const std::string key = "Software\\AddrixTest" + std::to_string(GetCurrentProcessId());
    // Type and data stored, the value as text; a long text read whole.
    const std::tuple<DWORD, std::string, std::string> cases[] = {
        {REG_DWORD, std::string("\x07\x01\0\0", 4), "263"},
        {REG_BINARY, "\x01\xab", "01AB"},
        {REG_SZ, std::string(2047, 'a') + '\0', std::string(2047, 'a')}};
    for (const auto& [type, data, expected] : cases) {
        RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Value", type, data.data(),
                        static_cast<DWORD>(data.size()));
        EXPECT_EQ(ReadRegistryValue(WinRegistry(), key, "Value"), expected) << data.size();
    }
    EXPECT_EQ(ReadRegistryValue(WinRegistry(), key, "Missing"), "Not Found");
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

using Window = std::unique_ptr<HWND__, decltype(&DestroyWindow)>;

Window OpenWindow(const std::string& title, DWORD style = 0) {
    return Window(CreateWindowExA(0, "STATIC", title.c_str(), WS_OVERLAPPEDWINDOW | style, 0, 0,
                                  200, 100, nullptr, nullptr, nullptr, nullptr),
                  DestroyWindow);
}

TEST(WindowsPlatformTest, ActivatesOnlyAVisibleWindowByTitleOrItsBeginning) {
    const std::string title = "Addrix Test Manager " + std::to_string(GetCurrentProcessId());
    SystemWindowActivator activator;
    const Window prefixed = OpenWindow(title + " - Norvik");
    const Window exact = OpenWindow(title);
    EXPECT_FALSE(activator.activate(title));
    ShowWindow(prefixed.get(), SW_SHOWMINIMIZED);
    EXPECT_TRUE(activator.activate(title));
    EXPECT_FALSE(IsIconic(prefixed.get()));
    // Prefixed titles lie above and below the exact one, made before and after it.
    ShowWindow(exact.get(), SW_SHOWNORMAL);
    const Window above = OpenWindow(title + " (2)", WS_VISIBLE);
    EXPECT_TRUE(activator.activate(title));
    EXPECT_EQ(GetForegroundWindow(), exact.get());
    EXPECT_FALSE(activator.activate(title + "x"));
}

// "José", "café" and the euro sign in code page 1252; the folder made by its UTF-16 name.
TEST(WindowsPlatformTest, FilesAndSettingsInAFolderOutsideAscii) {
    ASSERT_EQ(GetACP(), 1252u) << "the test's names are written in code page 1252";
    test::TempDir dir;
    const std::string folder = dir.path() + "\\Jos\xe9 \x80";
    ASSERT_TRUE(std::filesystem::create_directory(ToFsPath(dir.path()) / L"Jos\u00e9 \u20ac"));

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
    EXPECT_EQ(test::ReadFile(csv), "1,Jos\xe9\r\n");
}

// A reader that holds the settings file open keeps it from being replaced: the
// rewrite fails if it never lets go, and waits for it if it soon does.
TEST(WindowsPlatformTest, RewritesTheSettingsWhileAReaderHoldsThemBriefly) {
    test::TempDir dir;
    const std::string ini = dir.write("addrix.INI", "[Settings]\r\nDir=old\r\n");
    HANDLE reader = CreateFileA(ini.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    IniFile settings;
    EXPECT_FALSE(settings.writeString("Settings", "Dir", "new", ini));
    EXPECT_EQ(test::ReadFile(ini), "[Settings]\r\nDir=old\r\n");

    std::thread release([reader] {
        Sleep(300);
        CloseHandle(reader);
    });
    EXPECT_TRUE(settings.writeString("Settings", "Dir", "new", ini));
    release.join();
    EXPECT_EQ(test::ReadFile(ini), "[Settings]\r\nDir=new\r\n");
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
