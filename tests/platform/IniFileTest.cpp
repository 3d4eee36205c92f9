#include "platform/IniFile.h"

#include "platform/FilePath.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace addrix {
namespace {

namespace fs = std::filesystem;
using test::ReadFile;

TEST(IniFileTest, ReadsKeysAsTheServiceDoes) {
    // clang-format off
    const std::pair<std::string, const char*> cases[] = {
        {"[S]\nA=1\nk=on", "on"}, {"[s]\nK=x\n", "x"}, {"  [ S ]  \r\n\t k \t=  a b  \r\n", "a b"},
        {"[S]\nk=\"  x  \"\n", "  x  "}, {"[S]\nk='y'\n", "y"}, {"[S]\nk=\"y'\n", "\"y'"},
        {"[S]\nk=\n", ""}, {"[S] ; note\nk=a=b ; c\n", "a=b ; c"}, {"[S]\nk=1\nK=2\n", "1"},
        {"\xEF\xBB\xBF[S]\r\nk=caf\xE9\x80\r\n", "caf\xE9\x80"}, {"[S]\n  ;k=1\n", "<default>"},
        {"[S]\nk\n", "<default>"}, {"k=1\n[S]\n[T]\nk=2\n", "<default>"},
        {"[S]\na=1\n[s]\nk=2\n", "<default>"}}; // the first section of a name counts
    // clang-format on
    test::TempDir dir;
    IniFile ini;
    for (const auto& [content, expected] : cases)
        EXPECT_EQ(ini.readString("S", "k", "<default>", 1024, dir.write("a.INI", content)),
                  expected)
            << content;
    const std::string file = dir.write("a.INI", "[S]\r\nk=" + std::string(2000, 'v') + "\r\n");
    EXPECT_EQ(ini.readString("S", "k", "", 1024, file), std::string(1023, 'v'));
}

// A large file is parsed once for all its reads, and again once it changes;
// a pipe or a device reads as no file instead of blocking.
TEST(IniFileTest, ReadsALargeFileOnceAndNoPipeOrDeviceAtAll) {
    test::TempDir dir;
    std::string content = "[Ports]\r\n";
    while (content.size() < (4u << 20))
        content += "Comment" + std::to_string(content.size()) + "=" + std::string(60, 'c') + "\r\n";
    const std::string file = dir.write("addrix.INI", content + "[Settings]\r\nDebug=true\r\n");
    const auto settle = [&](int seconds) {
        fs::last_write_time(file, fs::file_time_type::clock::now() - std::chrono::hours(1) +
                                      std::chrono::seconds(seconds));
    };
    settle(0);
    IniFile ini;
    for (int i = 1; i <= 16; ++i)
        EXPECT_EQ(ini.readString("Ports", "COM" + std::to_string(i), "-", 1024, file), "-");
    EXPECT_EQ(ini.readString("Settings", "Debug", "", 1024, file), "true");
    EXPECT_EQ(ini.parseCount(), 1u);
    dir.write("addrix.INI", content + "[Settings]\r\nDebug=FALSE\r\n");
    settle(1);
    EXPECT_EQ(ini.readString("Settings", "Debug", "", 1024, file), "FALSE");
    EXPECT_EQ(ini.parseCount(), 2u);

#ifndef _WIN32
    const std::string fifo = dir.file("fifo.INI");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& odd : {fifo, std::string("/dev/zero")}) {
        EXPECT_EQ(ini.readString("Settings", "Debug", "none", 1024, odd), "none") << odd;
        EXPECT_FALSE(ini.writeString("Settings", "Debug", "true", odd)) << odd;
    }
#endif
}

TEST(IniFileTest, WritesOnlyWhatItMust) {
    const std::string mixed = "; mine\n[Ports]\r\nCOM1 = fast   \n\n[Settings]\n  ; keep\r\n"
                              "  debug = TRUE\t\nIvroFile=old\r\n\r\n\n[Tail]\nx=1";
    // File before ("": none), section, key, value, file after.
    using Case = std::tuple<std::string, const char*, const char*, const char*, std::string>;
    // clang-format off
    const Case cases[] = {
        {"", "Settings", "IvroFile", "a", "[Settings]\r\nIvroFile=a\r\n"},
        {mixed, "SETTINGS", "DEBUG", "no", "; mine\n[Ports]\r\nCOM1 = fast   \n\n[Settings]\n"
         "  ; keep\r\ndebug=no\r\nIvroFile=old\r\n\r\n\n[Tail]\nx=1"},
        {mixed, "Settings", "ExportFile", "o.csv", "; mine\n[Ports]\r\nCOM1 = fast   \n\n[Settings]\n"
         "  ; keep\r\n  debug = TRUE\t\nIvroFile=old\r\nExportFile=o.csv\r\n\r\n\n[Tail]\nx=1"},
        {mixed, "Tail", "y", "2", mixed + "\r\ny=2\r\n"},
        {mixed, "New", "k", "v", mixed + "\r\n[New]\r\nk=v\r\n"},
        {"[A]\na=1\n", "B", "b", "2", "[A]\na=1\n[B]\r\nb=2\r\n"},
        {"[S]\n[T]\n", "S", "k", "1", "[S]\nk=1\r\n[T]\n"},
        {"[S]", "S", "k", "1", "[S]\r\nk=1\r\n"},
        {"[S]\r\nk=1\r\n", "S", "k", "  dir  ", "[S]\r\nk=\"  dir  \"\r\n"},
        {"[S]\r\n", "S", "k", "'x'", "[S]\r\nk=\"'x'\"\r\n"}};
    // clang-format on
    for (const auto& [before, section, key, value, after] : cases) {
        test::TempDir dir;
        const std::string file = before.empty() ? dir.file("a.INI") : dir.write("a.INI", before);
        IniFile ini;
        EXPECT_TRUE(ini.writeString(section, key, value, file));
        EXPECT_EQ(ReadFile(file), after);
        EXPECT_EQ(ini.readString(section, key, "", 1024, file), value);
        EXPECT_EQ(test::EntryCount(dir.path()), 1); // no temporary left
    }
}

TEST(IniFileTest, RefusedWritesLeaveTheFileAsItWas) {
    test::TempDir dir;
    const std::string before = "[S]\r\nk=1\r\n";
    const std::string file = dir.write("a.INI", before);
    IniFile ini;
    EXPECT_FALSE(ini.writeString("S", "k", "two\r\n[Evil]", file));
    EXPECT_FALSE(ini.writeString("S", "k", "1", dir.file("missing") + "/a.INI"));
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_FALSE(ini.writeString("S", "k", "new", file));
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(test::EntryCount(dir.path()), 1); // nothing new, no folder either

#ifndef _WIN32
    // A rename that fails (a shared folder, another user's file) takes its
    // new file away again; a rewrite keeps the file's access rights.
    fs::permissions(dir.path(), fs::perms::all | fs::perms::sticky_bit);
    const std::string theirs = dir.write("theirs.INI", before);
    fs::permissions(theirs, fs::perms::owner_read | fs::perms::owner_write |
                                fs::perms::others_read | fs::perms::others_write);
    EXPECT_TRUE(test::HoldsUnprivileged([&] {
        IniFile own;
        return !own.writeString("S", "k", "2", theirs);
    }));
    EXPECT_EQ(test::EntryCount(dir.path()), 2);
    EXPECT_EQ(ReadFile(theirs), before);
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(theirs, mode);
    EXPECT_TRUE(ini.writeString("S", "k", "3", theirs));
    EXPECT_EQ(fs::status(theirs).permissions(), mode);
#endif
}

#ifndef _WIN32
// The settings' temporary file is made new, never through a name someone
// placed there first; the trace is appended to, never through a link.
TEST(IniFileTest, NewAndAppendedFilesNeverGoThroughALink) {
    test::TempDir dir;
    const std::string victim = dir.write("victim", "theirs");
    fs::create_symlink(victim, dir.file("link"));
    for (const OpenAs how : {OpenAs::CreateNew, OpenAs::Append})
        EXPECT_EQ(OpenForWriting(dir.file("link"), how), nullptr) << static_cast<int>(how);
    EXPECT_EQ(OpenForWriting(victim, OpenAs::CreateNew), nullptr);
    EXPECT_EQ(ReadFile(victim), "theirs");
}
#endif

} // namespace
} // namespace addrix
