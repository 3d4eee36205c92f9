#include "platform/IniFile.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <ostream>

#include <filesystem>
#include <fstream>

namespace addrix {
namespace {

using test::ReadFile;
using test::TempDir;

constexpr const char* kDefault = "<default>";

struct ReadCase {
    const char* name;
    std::string content;
    const char* section;
    const char* key;
    std::string expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class IniReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniReadTest, FindsTheValue) {
    const ReadCase& c = GetParam();
    TempDir dir;
    const std::string file = dir.write("addrix.INI", c.content);
    IniFile ini;
    EXPECT_EQ(ini.readString(c.section, c.key, kDefault, 1024, file), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, IniReadTest,
    ::testing::Values(
        ReadCase{"CrLf", "[Settings]\r\nDebug=true\r\n", "Settings", "Debug", "true"},
        ReadCase{"LfOnly", "[Settings]\nA=1\nDebug=on\n", "Settings", "Debug", "on"},
        ReadCase{"NoFinalLineEnd", "[Settings]\r\nDebug=last", "Settings", "Debug", "last"},
        ReadCase{"NamesIgnoreCase", "[sETTINGS]\r\ndebug=x\r\n", "SETTINGS", "DEBUG", "x"},
        ReadCase{"BlanksTrimmed", "  [ Settings ]  \r\n\t Debug \t=  a b  \r\n", "Settings",
                 "Debug", "a b"},
        ReadCase{"DoubleQuotesDropped", "[S]\nk=\"  x  \"\n", "S", "k", "  x  "},
        ReadCase{"SingleQuotesDropped", "[S]\nk='y'\n", "S", "k", "y"},
        ReadCase{"UnpairedQuotesKept", "[S]\nk=\"y'\n", "S", "k", "\"y'"},
        ReadCase{"LoneQuoteKept", "[S]\nk=\"\n", "S", "k", "\""},
        ReadCase{"EmptyValue", "[S]\nk=\n", "S", "k", ""},
        ReadCase{"EqualsInValue", "[S]\nk=a=b\n", "S", "k", "a=b"},
        ReadCase{"SemicolonInValueKept", "[S]\nk=a ; b\n", "S", "k", "a ; b"},
        ReadCase{"CommentLine", "[S]\n;k=1\n", "S", "k", kDefault},
        ReadCase{"IndentedComment", "[S]\n  ;k=1\n", "S", "k", kDefault},
        ReadCase{"HashIsNoComment", "[S]\n#k=1\n", "S", "#k", "1"},
        ReadCase{"MissingSection", "[Other]\nk=1\n", "S", "k", kDefault},
        ReadCase{"KeyInOtherSection", "[S]\na=1\n[T]\nk=2\n", "S", "k", kDefault},
        ReadCase{"KeyBeforeAnySection", "k=1\n[S]\n", "S", "k", kDefault},
        ReadCase{"FirstKeyWins", "[S]\nk=1\nK=2\n", "S", "k", "1"},
        ReadCase{"FirstSectionWins", "[S]\nk=1\n[s]\nk=2\nb=3\n", "S", "b", kDefault},
        ReadCase{"HeaderWithComment", "[S] ; note\nk=1\n", "S", "k", "1"},
        ReadCase{"ByteOrderMark", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "1"},
        ReadCase{"BytesPassThrough", "[S]\nk=caf\xE9\x80\n", "S", "k", "caf\xE9\x80"},
        ReadCase{"LineWithoutEquals", "[S]\nk\n", "S", "k", kDefault}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniFileTest, MissingFileGivesTheDefault) {
    TempDir dir;
    IniFile ini;
    EXPECT_EQ(ini.readString("S", "k", "fallback", 1024, dir.file("none.INI")), "fallback");
}

TEST(IniFileTest, ValueAndDefaultAreCutToTheBufferLessOne) {
    TempDir dir;
    const std::string file = dir.write("a.INI", "[S]\r\nk=" + std::string(2000, 'v') + "\r\n");
    IniFile ini;
    EXPECT_EQ(ini.readString("S", "k", "", 1024, file), std::string(1023, 'v'));
    EXPECT_EQ(ini.readString("S", "none", std::string(1500, 'd'), 1024, file),
              std::string(1023, 'd'));
    EXPECT_EQ(ini.readString("S", "k", "", 4, file), "vvv");
    EXPECT_EQ(ini.readString("S", "k", "", 1, file), "");
}

struct WriteCase {
    const char* name;
    std::string before; // "" for no file
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class IniWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWriteTest, ChangesOnlyWhatItMust) {
    const WriteCase& c = GetParam();
    TempDir dir;
    const std::string file =
        c.before.empty() ? dir.file("addrix.INI") : dir.write("addrix.INI", c.before);
    IniFile ini;
    ASSERT_TRUE(ini.writeString(c.section, c.key, c.value, file));
    EXPECT_EQ(ReadFile(file), c.after);
    EXPECT_EQ(ini.readString(c.section, c.key, kDefault, 1024, file), c.value);
}

const std::string kMixed = "; my settings\n"
                           "[Ports]\r\n"
                           "COM1 = fast   \n"
                           "\n"
                           "[Settings]\n"
                           "  ; keep me\r\n"
                           "  debug = TRUE\t\n"
                           "IvroFile=old\r\n"
                           "\r\n"
                           "\n"
                           "[Tail]\n"
                           "x=1";

INSTANTIATE_TEST_SUITE_P(
    Files, IniWriteTest,
    ::testing::Values(
        WriteCase{"CreatesTheFile", "", "Settings", "IvroFile", "a.adr",
                  "[Settings]\r\nIvroFile=a.adr\r\n"},
        WriteCase{"ReplacesInPlace", kMixed, "SETTINGS", "IVROFILE", "new",
                  "; my settings\n[Ports]\r\nCOM1 = fast   \n\n[Settings]\n  ; keep me\r\n"
                  "  debug = TRUE\t\nIvroFile=new\r\n\r\n\n[Tail]\nx=1"},
        WriteCase{"KeepsTheFileSpellingOfTheKey", kMixed, "Settings", "Debug", "false",
                  "; my settings\n[Ports]\r\nCOM1 = fast   \n\n[Settings]\n  ; keep me\r\n"
                  "debug=false\r\nIvroFile=old\r\n\r\n\n[Tail]\nx=1"},
        WriteCase{"AddsAfterLastNonBlankLine", kMixed, "Settings", "ExportFile", "out.csv",
                  "; my settings\n[Ports]\r\nCOM1 = fast   \n\n[Settings]\n  ; keep me\r\n"
                  "  debug = TRUE\t\nIvroFile=old\r\nExportFile=out.csv\r\n\r\n\n[Tail]\nx=1"},
        WriteCase{"AddsToLastSectionWithoutLineEnd", kMixed, "Tail", "y", "2",
                  kMixed + "\r\ny=2\r\n"},
        WriteCase{"AddsSectionAtTheEnd", kMixed, "New", "k", "v", kMixed + "\r\n[New]\r\nk=v\r\n"},
        WriteCase{"AddsSectionAfterFinalLineEnd", "[A]\na=1\n", "B", "b", "2",
                  "[A]\na=1\n[B]\r\nb=2\r\n"},
        WriteCase{"AddsUnderBareHeader", "[S]\n[T]\n", "S", "k", "1", "[S]\nk=1\r\n[T]\n"},
        WriteCase{"HeaderIsLastLine", "[S]", "S", "k", "1", "[S]\r\nk=1\r\n"},
        WriteCase{"QuotesBlanksAtTheEnds", "[S]\r\n", "S", "k", "  dir  ",
                  "[S]\r\nk=\"  dir  \"\r\n"},
        WriteCase{"QuotesAQuotedValue", "[S]\r\n", "S", "k", "'x'", "[S]\r\nk=\"'x'\"\r\n"},
        WriteCase{"EmptyValue", "[S]\r\nk=1\r\n", "S", "k", "", "[S]\r\nk=\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniFileTest, RefusesLineBreaksAndLeavesTheFile) {
    TempDir dir;
    const std::string before = "[S]\r\nk=1\r\n";
    const std::string file = dir.write("a.INI", before);
    IniFile ini;
    EXPECT_FALSE(ini.writeString("S", "k", "two\r\n[Evil]", file));
    EXPECT_FALSE(ini.writeString("S", "k\nx", "1", file));
    EXPECT_FALSE(ini.writeString("S", "a=b", "1", file));
    EXPECT_FALSE(ini.writeString("S]x", "k", "1", file));
    EXPECT_EQ(ReadFile(file), before);
}

TEST(IniFileTest, MissingFolderFails) {
    TempDir dir;
    IniFile ini;
    EXPECT_FALSE(ini.writeString("S", "k", "1", dir.file("missing") + "/addrix.INI"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));
}

TEST(IniFileTest, LeavesNoTemporaryFileBehind) {
    TempDir dir;
    const std::string file = dir.file("addrix.INI");
    IniFile ini;
    ASSERT_TRUE(ini.writeString("S", "a", "1", file));
    ASSERT_TRUE(ini.writeString("S", "b", "2", file));
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().filename().string(), "addrix.INI");
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

// True when the folder really refuses new files (it does not for root).
bool FolderRefusesWrites(const std::string& folder) {
    const std::string probe = folder + "/probe";
    { std::ofstream out(probe); }
    std::error_code ec;
    const bool created = std::filesystem::exists(probe, ec);
    std::filesystem::remove(probe, ec);
    return !created;
}

TEST(IniFileTest, ReadOnlyFolderFailsAndKeepsTheOldFile) {
    TempDir dir;
    const std::string before = "[Settings]\r\nIvroFile=old\r\n";
    const std::string file = dir.write("addrix.INI", before);
    namespace fs = std::filesystem;
    fs::permissions(dir.path(),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    if (!FolderRefusesWrites(dir.path()))
        GTEST_SKIP() << "this user can write into read-only folders";
    IniFile ini;
    EXPECT_FALSE(ini.writeString("Settings", "IvroFile", "new", file));
    EXPECT_FALSE(ini.writeString("Settings", "Other", "1", dir.file("fresh.INI")));
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_FALSE(fs::exists(dir.file("fresh.INI")));
}

TEST(IniFileTest, ReadOnlyFileFailsAndStaysAsItWas) {
    TempDir dir;
    const std::string before = "[Settings]\r\nIvroFile=old\r\n";
    const std::string file = dir.write("addrix.INI", before);
    namespace fs = std::filesystem;
    fs::permissions(file, fs::perms::owner_read);
    IniFile ini;
    EXPECT_FALSE(ini.writeString("Settings", "IvroFile", "new", file));
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(ini.readString("Settings", "IvroFile", "", 1024, file), "old");
}

} // namespace
} // namespace addrix
