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
#include <thread>

namespace addrix {
namespace {

TEST(WindowsPlatformTest, ReadsTheUsersRegistry) {
    const std::string key = "Software\\AddrixTest" + std::to_string(GetCurrentProcessId());
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    const auto set = [&](const char* name, DWORD type, const std::string& data) {
        RegSetValueExA(handle, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size()));
    };
    set("Text", REG_SZ, std::string("C:\\Docs\0", 8));
    set("Number", REG_DWORD, std::string("\x07\x01\0\0", 4));
    set("Bytes", REG_BINARY, "\x01\xab");
    set("Longest", REG_SZ, std::string(2047, 'a') + '\0');
    set("TooLong", REG_SZ, std::string(2048, 'a') + '\0');
    RegCloseKey(handle);

    const WinRegistry registry;
    EXPECT_EQ(ReadRegistryValue(registry, key, "Text"), "C:\\Docs");
    EXPECT_EQ(ReadRegistryValue(registry, key, "Number"), "263");
    EXPECT_EQ(ReadRegistryValue(registry, key, "Bytes"), "01AB");
    EXPECT_EQ(ReadRegistryValue(registry, key, "Longest"), std::string(2047, 'a'));
    EXPECT_EQ(ReadRegistryValue(registry, key, "TooLong"), "Not Found");
    EXPECT_EQ(ReadRegistryValue(registry, key, "Missing"), "Not Found");
    EXPECT_EQ(ReadRegistryValue(registry, key + "\\None", "Text"), "Not Found");
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

// Top-level windows of a class of the test's own, shown as asked.
class TestWindow {
public:
    TestWindow(const char* title, int show) {
        static const ATOM kClass = [] {
            WNDCLASSA type = {};
            type.lpfnWndProc = DefWindowProcA;
            type.hInstance = GetModuleHandleA(nullptr);
            type.lpszClassName = "AddrixTestWindow";
            return RegisterClassA(&type);
        }();
        m_window = CreateWindowExA(0, MAKEINTATOM(kClass), title, WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                   100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        if (show != SW_HIDE)
            ShowWindow(m_window, show);
    }
    ~TestWindow() { DestroyWindow(m_window); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND get() const { return m_window; }

private:
    HWND m_window;
};

TEST(WindowsPlatformTest, ActivatesOnlyAVisibleWindowByTitleOrItsBeginning) {
    const std::string title = "Addrix Test Manager " + std::to_string(GetCurrentProcessId());
    SystemWindowActivator activator;
    {
        const TestWindow hidden(title.c_str(), SW_HIDE);
        if (!hidden.get())
            GTEST_SKIP() << "no display for windows (run under a virtual display)";
        EXPECT_FALSE(activator.activate(title));
    }
    {
        const TestWindow minimised((title + " - Norvik").c_str(), SW_SHOWMINIMIZED);
        EXPECT_TRUE(activator.activate(title));
        EXPECT_FALSE(IsIconic(minimised.get()));
    }
    const TestWindow other("Another program", SW_SHOWNORMAL);
    const TestWindow exact(title.c_str(), SW_SHOWNORMAL);
    SetForegroundWindow(other.get());
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
