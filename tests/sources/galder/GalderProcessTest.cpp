// The Galder download engine with its services faked, and the record decoding.

#include "sources/galder/GalderProcess.h"
#include "sources/galder/GalderRecord.h"

#include "support/GalderFakes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <regex>
#include <set>
#include <variant>

namespace addrix {
namespace {

using namespace test;
using Bytes = std::vector<std::string>;

const std::string kWake = "\xAA";
const std::string kIdentify("\x87\x01\x00\x00\x00\x00\x00\x00", 8);
const std::string kStart = "\x19";
const std::string kCommand("\x19\x30\x33\x19", 4);
const std::string kNoAnswer = "A timeout occurred Connectiong with the device.";
const std::string kTimeout = "A timeout occurred waiting for data from the device.";
const std::string kEl0 = kTimeout + " (EL-0)";
const std::string kDisabled =
    "The device is permanently disabled and the address book cannot be accessed.";
const std::string kOverflow = "An overflow error occurred processing the address book";
const std::string kLimit = "You have exceeded the maximum number of records allowed by the "
                           "device.\r\nAdditional records will not be exported.";

std::string Record(int n, int layout = 1) {
    return GalderRecordBytes(n, layout);
}

TEST(GalderConversation, ByteForByte) {
    TempDir dir;
    GalderRig rig(250, false, dir.path());
    rig.load(3, 1);
    EXPECT_EQ(rig.port.opened, std::vector<int>{3});
    rig.receive("\x8B");
    rig.receive(IdentificationAnswer());
    EXPECT_EQ(rig.port.writes.size(), 3u) << "the command waits for the next tick";
    rig.ticks();
    rig.port.readChunk = 100; // one notification must drain the port
    rig.receive(GalderHeader(4, 2) + Record(1, 4) + Record(2, 4));
    // The last record is not acknowledged: the port is closed by then.
    EXPECT_EQ(rig.port.writes, (Bytes{kWake, kIdentify, kStart, kCommand, "\x06"}));
    EXPECT_EQ(rig.result(), 2);
    ASSERT_EQ(rig.sink.lines.size(), 2u);
    // Numbered from the record's place, decoded by the header's layout, the
    // e-mail in the column asked for.
    EXPECT_EQ(rig.sink.lines[1].substr(0, 59),
              "2,1,0,Name002,Family,2@pager.example.com,,user2@example.com");
    EXPECT_TRUE(rig.shown.empty());
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_EQ(rig.timer.interval, std::chrono::seconds(1));
    EXPECT_FALSE(std::filesystem::exists(dir.file("debug.log"))) << "Debug is off";
}

// A scenario after the load: bytes arrive (text), seconds pass (a number),
// or the Cancel button is pressed (kCancel).
using Step = std::variant<int, std::string>;
using Steps = std::vector<Step>;
constexpr int kCancel = 0;

void Play(GalderRig& rig, const Steps& steps) {
    for (const Step& step : steps) {
        if (const int* seconds = std::get_if<int>(&step))
            *seconds == kCancel ? rig.process->OnCancel() : rig.ticks(*seconds);
        else
            rig.receive(std::get<std::string>(step));
    }
}

// Wake-up answer, identification, the tick of the download command, `data`, then `after`.
Steps Download(const std::string& data, Steps after = Steps()) {
    Steps steps{"\x8B", IdentificationAnswer(), 1, data};
    steps.insert(steps.end(), after.begin(), after.end());
    return steps;
}

const std::string kNul(1, '\0');

// The header of `count` records in layout 1.
std::string Header(int count) {
    return GalderHeader(1, count);
}

template <class... T> Steps S(T... steps) {
    return {Step(steps)...};
}

// The download goes on; meanwhile GalderCount counts the lines written.
constexpr int kRunning = 99;

struct Scenario {
    const char* name;
    friend void PrintTo(const Scenario& c, std::ostream* os) { *os << c.name; }
    Steps steps;
    std::size_t sent;      // writes to the port
    int result;            // GalderCount, or kRunning
    std::size_t lines;     // lines written
    std::string message{}; // the one message shown, if any
    double limit = 250;
    std::size_t okLines = SIZE_MAX; // lines the output file takes
};

class GalderScenario : public ::testing::TestWithParam<Scenario> {};

// An ending comes once: its message with the tick off and the port still
// open, then the port closed (but for a cancel noticed by the tick) and the
// window asked to close; what happens while the message is up or afterwards
// counts for nothing.
TEST_P(GalderScenario, EndsAsTheDeviceLeadsIt) {
    const Scenario& c = GetParam();
    const bool ended = c.result != kRunning;
    FailingSink out(c.okLines);
    GalderRig rig(c.limit);
    rig.out = &out;
    const Steps more{kCancel, Record(9), 20};
    rig.whileShown = [&] {
        Play(rig, more);
    };
    rig.load();
    Play(rig, c.steps);
    if (ended)
        Play(rig, more);
    EXPECT_EQ(rig.port.writes.size(), c.sent);
    EXPECT_EQ(rig.result(), ended ? c.result : static_cast<int>(c.lines));
    EXPECT_EQ(out.lines.size(), c.lines);
    EXPECT_EQ(rig.closeCount, ended ? 1 : 0);
    EXPECT_EQ(rig.port.isOpen(), !ended || c.result == -2);
    EXPECT_EQ(rig.timer.isActive(), !ended);
    EXPECT_EQ(rig.port.writesWhileClosed, 0);
    ASSERT_EQ(rig.shown.size(), c.message.empty() ? 0u : 1u);
    if (!c.message.empty()) {
        const auto& shown = rig.shown[0];
        const bool limit = c.message == kLimit;
        EXPECT_EQ(shown.box.text, c.message);
        EXPECT_EQ(shown.box.caption, limit                    ? "Addrix"
                                     : c.message == kDisabled ? "Disabled Device"
                                                              : "Error Occurred");
        EXPECT_EQ(shown.box.icon, limit ? MsgIcon::None : MsgIcon::Critical);
        EXPECT_EQ(shown.box.buttons, MsgButtons::Ok);
        EXPECT_FALSE(shown.timerActive);
        EXPECT_TRUE(shown.portOpen);
    }
}

const std::string kWriteFailed = "An error occurred processing the address book";
const std::string kLayout = "The address book's records are of a layout this program cannot read "
                            "(layout ";
const std::string kR123 = Record(1) + Record(2) + Record(3);

INSTANTIATE_TEST_SUITE_P(
    Cases, GalderScenario,
    ::testing::Values(
        Scenario{"Twice8BInOneReceipt", S("\x8B\x8B"), 1, -1, 0, kEl0},
        Scenario{"OneByteThen8B", S(kNul, "\x8B"), 1, -1, 0, kEl0},
        Scenario{"LastByteD", S("\x8B", IdentificationAnswer(36), "D"), 2, -1, 0, kDisabled},
        Scenario{"LowerCaseD", S("\x8B", IdentificationAnswer(36), "d"), 3, kRunning, 0},
        Scenario{"LongAnswerEndingD", S("\x8B", IdentificationAnswer(38, 'D')), 2, -1, 0,
                 kDisabled},
        Scenario{"LongAnswerWithDBeforeTheLast", S("\x8B", IdentificationAnswer(37, 'D') + "x"), 3,
                 kRunning, 0},
        Scenario{"DataBeforeTheCommandTickSkipsIt", S("\x8B", IdentificationAnswer(), Header(2), 1),
                 3, kRunning, 0},
        Scenario{"SixSilentSeconds", S(6), 7, -1, 0, kNoAnswer},
        Scenario{"TenSecondsWithoutData", Download(Header(5), S(10)), 4, kRunning, 0},
        Scenario{"ElevenSecondsWithoutData", Download(Header(5), S(11)), 4, -1, 0, kTimeout},
        Scenario{"DataEveryNineSeconds",
                 Download(Header(2), S(9, Record(1).substr(0, 99), 9, Record(1).substr(99), 9,
                                       Record(2).substr(0, 99), 9, Record(2).substr(99))),
                 5, 2, 2},
        Scenario{"HeaderAndRecordSplitOverReceipts",
                 S("\x8B", IdentificationAnswer(), 1, "\x06\x04", std::string("\0\x01\x7F", 3),
                   Record(1, 4).substr(1, 200), Record(1, 4).substr(201)),
                 4, 1, 1},
        Scenario{"TwoRecordsInOneReceiptGetOneAcknowledgement",
                 Download(Header(3), S(Record(1) + Record(2) + Record(3).substr(0, 10))), 5,
                 kRunning, 2},
        Scenario{"JunkBeforeTheHeader",
                 Download(std::string("\x00\x12\x06\x01\x00\x03", 6) + kR123), 4, 3, 3},
        Scenario{"EmptyAddressBook", Download(Header(0)), 4, 0, 0},
        // A header that names no layout (its third byte not zero) or an
        // unknown one fails at the first record rather than write blank contacts.
        Scenario{"HeaderNamingNoLayout", Download(GalderHeader(1, 3, '\x05') + kR123), 4, -1, 0,
                 kLayout + "0)."},
        Scenario{"UnknownLayout", Download(GalderHeader(3, 2) + kR123), 4, -1, 0, kLayout + "3)."},
        Scenario{"ExactlyTheLimit", Download(Header(3) + kR123), 4, 3, 3, "", 3},
        Scenario{"MoreThanTheLimit", Download(Header(5) + kR123 + Record(4)), 4, 3, 3, kLimit, 3},
        Scenario{"FractionalLimit", Download(Header(5) + kR123), 4, 3, 3, kLimit, 2.5},
        Scenario{"OutOfStep257BytesWait", Download(Header(5) + std::string(257, '\0')), 4, kRunning,
                 0},
        Scenario{"OutOfStep258Bytes", Download(Header(5) + Record(1) + std::string(258, 'x')), 4,
                 -1, 1, kOverflow},
        Scenario{"WriteFailed", Download(Header(5) + Record(1) + Record(2)), 4, -1, 1, kWriteFailed,
                 250, 1},
        Scenario{"CancelNoticedByTheTick", S(kCancel, 1), 2, -2, 0},
        Scenario{"CancelNoticedOnReceipt", Download(Header(3), S(kCancel, Record(1))), 4, -1, 0},
        // The record before the Cancel was written and acknowledged at once.
        Scenario{"CancelBetweenRecordsNoticedByTheTick",
                 Download(Header(3), S(Record(1), kCancel, 1)), 5, -2, 1}));

// The report gets the changes of each record written and, at the limit, the
// records the device announced but the limit left out.
TEST(GalderReport, TellsEachChangeAndTheRecordsLeftOut) {
    ReportRows changes;
    GalderRig rig(2);
    rig.download.changes = &changes;
    rig.load();
    GalderRecord record;
    record.Name = "Maximilianus-Alex Li";
    std::string shortened = Record(1);
    shortened.replace(1, 20, record.Name);
    rig.reachRecords(Header(5) + shortened + Record(2) + Record(3));
    EXPECT_EQ(changes.lines,
              (Bytes{"\"galder\",\"1\",\"1\",\"Maximilianus-Al Li\",\"FIRST_NAME\",\"shortened\","
                     "\"Maximilianus-Alex\",\"Maximilianus-Al\"",
                     "\"galder\",\"3\",\"\",\"\",\"\",\"over-limit\",\"3\",\"\""}));
}

// Of a choice of records, the others are left out as they come and the
// limit counts those written; positions the device lacks end the download
// at its header, with nothing written and no message.
TEST(GalderReport, AChoiceOfRecords) {
    struct Case {
        std::set<std::int64_t> only;
        double limit;
        int result;
        Bytes lines; // each line's start
        Bytes rows;  // "position kind name"
        std::vector<std::int64_t> lacking;
        bool limitShown;
    };
    // clang-format off
    const Case cases[] = {
        {{2, 4}, 250, 2, {"1,0,0,Name002", "2,1,0,Name004"},
         {"1 left out Name001 Family", "3 left out Name003 Family"}, {}, false},
        {{1, 3, 4}, 1, 1, {"1,0,0,Name001"}, {"2 left out ", "3 over-limit ", "4 over-limit "},
         {}, true},
        {{1, 2}, 2, 2, {"1,0,0,Name001", "2,1,0,Name002"},
         {"3 left out Name003 Family", "4 left out Name004 Family"}, {}, false},
        {{0, 2, 5}, 250, -1, {}, {}, {0, 5}, false}};
    // clang-format on
    for (const Case& c : cases) {
        struct Rows final : IChangeSink {
            Bytes rows;
            void add(const Change& change) override {
                rows.push_back(std::to_string(change.position) + " " + ChangeKindName(change.kind) +
                               " " + change.name);
            }
        } changes;
        std::vector<std::int64_t> lacking;
        GalderRig rig(c.limit);
        rig.download.changes = &changes;
        rig.download.only = &c.only;
        rig.download.lacking = &lacking;
        rig.load();
        rig.reachRecords(Header(4) + Record(1) + Record(2) + Record(3) + Record(4));
        EXPECT_EQ(rig.result(), c.result);
        Bytes starts;
        for (const std::string& line : rig.sink.lines)
            starts.push_back(line.substr(0, 13));
        EXPECT_EQ(starts, c.lines);
        EXPECT_EQ(changes.rows, c.rows);
        EXPECT_EQ(lacking, c.lacking);
        EXPECT_EQ(rig.shown.size(), c.limitShown ? 1u : 0u);
        EXPECT_FALSE(rig.port.isOpen());
    }
}

// A port that fails to open goes to the caller with its description, and
// nothing is sent afterwards.
TEST(GalderLoad, AFailedOpenGoesToTheCaller) {
    GalderRig rig;
    rig.port.openResult = {SerialOpenResult::Status::Failed, "COM3 (/dev/ttyS2): in use"};
    EXPECT_THAT([&] { rig.load(3); },
                ::testing::ThrowsMessage<SerialPortError>("COM3 (/dev/ttyS2): in use"));
    rig.receive("\x8B");
    rig.process->OnTick();
    EXPECT_TRUE(rig.port.writes.empty());
}

// Each download appends its whole exchange.
TEST(GalderTrace, DebugOnTracesTheWholeExchange) {
    TempDir dir;
    const std::string data = GalderHeader(1, 1) + Record(1);
    auto tx = [](const std::string& bytes) {
        return "\r\nTX:" + bytes + "\r\n";
    };
    const std::string state = "\r\nState:#\r\n"; // each change of the parser's state
    const std::string trace = "\r\nStart Of Operation\r\n" + tx(kWake) + "\x8B" + tx(kIdentify) +
                              IdentificationAnswer() + state + tx(kStart) + tx(kCommand) + data +
                              state + state + state;
    for (const std::string& expected : {trace, trace + trace}) {
        GalderRig rig(250, true, dir.path());
        rig.load();
        rig.reachRecords(data);
        EXPECT_EQ(rig.result(), 1);
        // The state's own number is the parser's business.
        EXPECT_EQ(std::regex_replace(ReadFile(dir.file("debug.log")),
                                     std::regex("\r\nState:[0-9]+\r\n"), state),
                  expected);
    }
    // A folder that takes no trace, or a debug.log that links elsewhere (not
    // followed): no trace, and the download goes on.
    std::vector<std::string> noTrace = {dir.file("missing")};
#ifndef _WIN32
    TempDir linked;
    std::filesystem::create_symlink(dir.write("elsewhere", "kept"), linked.file("debug.log"));
    noTrace.push_back(linked.path());
#endif
    for (const std::string& folder : noTrace) {
        GalderRig rig(250, true, folder);
        rig.load();
        rig.reachRecords(data);
        EXPECT_EQ(rig.result(), 1);
    }
    EXPECT_EQ(ReadFile(dir.file("elsewhere")), noTrace.size() > 1 ? "kept" : "");
}

// `bytes`, then FF up to `width`: a field as the device fills it.
std::string Field(const std::string& bytes, std::size_t width) {
    return bytes + std::string(width - bytes.size(), '\xFF');
}

// One record of each layout, written byte by byte from the layouts: every
// field takes exactly its bytes, the bytes between fields stay out, FF ends
// a field, and packed digits lose the nibbles A to F.
TEST(GalderRecordLayouts, DecodeTheirFieldsAndWriteTheContact) {
    const std::string gap = "\x37"; // "7" as text, "37" as digits
    const std::string layout1 = Field("Ann Mary Lee", 20) + std::string(5, '\x37') +
                                Field("\x12\x34", 5) + Field("\x55\x51\x23\x4F", 10) +
                                Field("", 10) + Field(std::string("\x61\x35\x55\x01\x00", 5), 10) +
                                Field("\x1A\x9B\xC0\xD5\xE0", 10) + Field("ann@example.com", 40) +
                                Field("12 34", 40) + Field(std::string("one\r\n\0two", 9), 105) +
                                gap;
    const std::string layout4 = Field("Bo", 20) + std::string(42, '\x37') + Field("\x12", 10) +
                                Field("\x98\x76\x54\x32\x10\x98\x76\x54\x32\x10", 10) +
                                Field("", 10) + Field("\x44", 10) + Field("bo@example.com", 65) +
                                Field("wire", 65) + "twenty-two bytes note!" + gap + gap;
    ASSERT_EQ(layout1.size(), 256u);
    ASSERT_EQ(layout4.size(), 256u);

    GalderRecord one;
    DecodeGalderRecordType1(layout1, one);
    EXPECT_EQ(one.Name + "|" + one.SecondNumber + "|" + one.HomePhone + "|" + one.WorkPhone + "|" +
                  one.MobilePhone + "|" + one.Fax + "|" + one.Email + "|" + one.WirelessAddress +
                  "|" + one.Note,
              std::string("Ann Mary Lee|1234|5551234||6135550100|19050|ann@example.com|12 34|"
                          "one\r\n\0two",
                          75));
    GalderRecord four;
    four.SecondNumber = "stale";
    DecodeGalderRecordType4(layout4, four);
    EXPECT_EQ(four.Name + "|" + four.SecondNumber + "|" + four.HomePhone + "|" + four.WorkPhone +
                  "|" + four.MobilePhone + "|" + four.Fax + "|" + four.Email + "|" +
                  four.WirelessAddress + "|" + four.Note,
              "Bo||12|98765432109876543210||44|bo@example.com|wire|twenty-two bytes note!");

    // The name splits at its first blank; the e-mail goes to the column chosen, or to none.
    GalderRecord lead;
    lead.Name = " Lead";
    lead.Email = "m@x";
    MemorySink sink;
    four.Index = 6;
    WriteGalderRecord(one, sink, 0);
    WriteGalderRecord(four, sink, 1);
    WriteGalderRecord(lead, sink, 2);
    EXPECT_EQ(sink.lines,
              (Bytes{"1,0,0,Ann,Mary Lee,1234,ann@example.com,,1,;,;,;,,5551234,,6135550100,19050,"
                     ",,,," +
                         std::string("one \0two", 8),
                     "7,6,0,Bo,,wire,,bo@example.com,1,;,;,;,,12,987654321098765432,,44,,,,,"
                     "twenty-two bytes note!",
                     "1,0,0,Unknown,Lead,,,,1,;,;,;,,,,,,,,,,"}));
}

// A full disk may show only when the line is flushed.
TEST(GalderLine, AFailedFlushIsAnError) {
    FailingSink unflushed(SIZE_MAX, true);
    EXPECT_THROW(WriteGalderRecord(GalderRecord(), unflushed, 0), FileError);
}

} // namespace
} // namespace addrix
