#include "galder/GalderProcess.h"

#include "platform/PathUtil.h"
#include "support/GalderFakes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace addrix {
namespace {

using namespace std::chrono_literals;
using test::GalderHeader;
using test::GalderRecordBytes;
using test::GalderRecordFields;
using test::GalderRig;
using test::IdentificationAnswer;
using test::SplitCommas;

const std::string kWake = "\xAA";
const std::string kIdentify("\x87\x01\x00\x00\x00\x00\x00\x00", 8);
const std::string kStart = "\x19";
const std::string kCommand = "\x19"
                             "03"
                             "\x19";
const std::string kAck = "\x06";

const char* const kNoAnswerText = "A timeout occurred Connectiong with the device.";
const char* const kTimeoutText = "A timeout occurred waiting for data from the device.";
const char* const kLimitText =
    "You have exceeded the maximum number of records allowed by the device.\r\n"
    "Additional records will not be exported.";

GalderRecordFields Person(int n) {
    GalderRecordFields f;
    f.name = "Name" + std::to_string(n) + " Family";
    f.homePhone = "555" + std::to_string(1000 + n);
    f.email = "p" + std::to_string(n) + "@example.com";
    return f;
}

std::string Record(int n, int layout = 1) {
    return GalderRecordBytes(layout, Person(n));
}

int CountWrites(const test::FakeSerialPort& port, const std::string& bytes) {
    return static_cast<int>(std::count_if(port.writes.begin(), port.writes.end(),
                                          [&](const auto& w) { return w.bytes == bytes; }));
}

std::vector<std::string> Writes(const test::FakeSerialPort& port) {
    std::vector<std::string> out;
    for (const auto& w : port.writes)
        out.push_back(w.bytes);
    return out;
}

TEST(GalderConversation, ByteForByte) {
    GalderRig rig;
    rig.load();
    EXPECT_EQ(rig.port.openedPorts, std::vector<int>{1});
    EXPECT_EQ(rig.view.status(), "Connecting to device...");
    EXPECT_EQ(Writes(rig.port), std::vector<std::string>{kWake});

    rig.receive("\x8B");
    EXPECT_EQ(rig.port.writes.back().bytes, kIdentify);
    EXPECT_EQ(rig.process->parserState(), 6);

    rig.receive(IdentificationAnswer());
    EXPECT_EQ(rig.port.writes.back().bytes, kStart);
    EXPECT_EQ(rig.view.status(), "Starting download...");
    EXPECT_EQ(rig.process->linkState(), 3);

    ASSERT_TRUE(rig.tick());
    EXPECT_EQ(rig.port.writes.back().bytes, kCommand);
    EXPECT_EQ(rig.secondsSinceLoad(rig.port.writes.back().at), 1);
    EXPECT_EQ(rig.process->linkState(), 4);

    rig.receive(GalderHeader(1, 2) + Record(1));
    EXPECT_EQ(rig.port.writes.back().bytes, kAck);
    EXPECT_EQ(rig.view.status(), "Received 1 of 2 Records...");
    EXPECT_FALSE(rig.process->finished());

    rig.receive(Record(2));
    // The last record is not acknowledged: the port is closed by then.
    EXPECT_EQ(Writes(rig.port),
              (std::vector<std::string>{kWake, kIdentify, kStart, kCommand, kAck}));
    EXPECT_EQ(rig.view.status(), "Received 2 of 2 Records...");
    EXPECT_TRUE(rig.process->finished());
    EXPECT_EQ(rig.result(), 2);
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_FALSE(rig.timer.isActive());
    EXPECT_EQ(rig.view.closeCount, 1);
    EXPECT_TRUE(rig.messages.shown.empty());
    ASSERT_EQ(rig.sink.lines.size(), 2u);
    EXPECT_EQ(SplitCommas(rig.sink.lines[1])[3], "Name2");
    EXPECT_EQ(rig.port.writesWhileClosed, 0);
}

TEST(GalderConversation, EveryReceiptRearmsTheTenSecondTimeOut) {
    GalderRig rig;
    rig.load();
    EXPECT_EQ(rig.timer.interval(), 1000ms);
    rig.clock.advance(300ms);
    rig.receive("\x8B");
    EXPECT_EQ(rig.process->deadline(), rig.clock.now() + 10s);
    EXPECT_TRUE(rig.timer.isActive());
    EXPECT_EQ(rig.timer.interval(), 1000ms);
}

class GalderLayoutTest : public ::testing::TestWithParam<int> {};

TEST_P(GalderLayoutTest, RecordsAreDecodedAndWritten) {
    GalderRig rig;
    rig.load(1, 1);
    rig.reachRecords(GalderHeader(GetParam(), 2));
    GalderRecordFields first;
    first.name = "Mary Ann Lee";
    first.homePhone = "5551234";
    first.workPhone = "1";
    first.fax = "6135550100";
    first.email = "mary@example.com";
    first.wirelessAddress = "12 34";
    first.note = "one\r\ntwo\x01";
    GalderRecordFields second;
    second.name = "Bo";
    rig.receive(GalderRecordBytes(GetParam(), first, '\x33'));
    rig.receive(GalderRecordBytes(GetParam(), second));
    ASSERT_EQ(rig.sink.lines.size(), 2u);
    EXPECT_EQ(rig.sink.lines[0], "1,0,0,Mary,Ann Lee,1234,,mary@example.com,1,;,;,;,,5551234,1,,"
                                 "6135550100,,,,,one two\x01");
    EXPECT_EQ(rig.sink.lines[1], "2,1,0,Bo,,,,,1,;,;,;,,,,,,,,,,");
    EXPECT_EQ(rig.result(), 2);
}

INSTANTIATE_TEST_SUITE_P(Layouts, GalderLayoutTest, ::testing::Values(1, 4));

TEST(GalderRecords, ARecordSplitOverReceiptsIsWrittenOnceComplete) {
    GalderRig rig;
    rig.load();
    rig.reachRecords(GalderHeader(1, 3));
    const std::string record = Record(1);
    const auto writesBefore = rig.port.writes.size();
    rig.receive(record.substr(0, 100));
    rig.receive(record.substr(100, 156));
    EXPECT_TRUE(rig.sink.lines.empty());
    EXPECT_EQ(rig.port.writes.size(), writesBefore);
    rig.receive(record.substr(256));
    EXPECT_EQ(rig.sink.lines.size(), 1u);
    EXPECT_EQ(rig.port.writes.size(), writesBefore + 1);
    EXPECT_EQ(rig.port.writes.back().bytes, kAck);
}

TEST(GalderRecords, TwoRecordsInOneReceiptGetOneAcknowledgement) {
    GalderRig rig;
    rig.load();
    rig.reachRecords(GalderHeader(1, 3));
    const auto writesBefore = rig.port.writes.size();
    rig.receive(Record(1) + Record(2) + Record(3).substr(0, 10));
    EXPECT_EQ(rig.sink.lines.size(), 2u);
    ASSERT_EQ(rig.port.writes.size(), writesBefore + 1);
    EXPECT_EQ(rig.port.writes.back().bytes, kAck);
    EXPECT_EQ(rig.view.status(), "Received 2 of 3 Records...");
    EXPECT_EQ(rig.process->rxBuffer().size(), 10u);
}

TEST(GalderRecords, HeaderAndRecordsInOneReceipt) {
    GalderRig rig;
    rig.load();
    rig.reachRecords(GalderHeader(4, 2) + Record(1, 4) + Record(2, 4));
    EXPECT_EQ(rig.sink.lines.size(), 2u);
    EXPECT_TRUE(rig.process->finished());
    EXPECT_EQ(rig.result(), 2);
}

TEST(GalderRecords, JunkBeforeTheHeaderIsDropped) {
    GalderRig rig;
    rig.load();
    rig.reachRecords(std::string("\x00\x12\x06\x01\x00\x03", 6));
    EXPECT_EQ(rig.process->parserState(), 8);
    EXPECT_EQ(rig.process->recordType(), 1);
    EXPECT_EQ(rig.process->recordTotal(), 3);
    EXPECT_TRUE(rig.process->rxBuffer().empty());
    rig.receive(Record(1));
    EXPECT_EQ(rig.view.status(), "Received 1 of 3 Records...");
    EXPECT_EQ(SplitCommas(rig.sink.lines.at(0))[3], "Name1");
}

TEST(GalderRecords, AHeaderSplitOverReceiptsWaits) {
    GalderRig rig;
    rig.load();
    rig.reachRecords(std::string("\x06\x04", 2));
    EXPECT_EQ(rig.process->parserState(), 7);
    rig.receive(std::string("\x00\x01", 2) + Record(1, 4));
    EXPECT_EQ(rig.process->recordType(), 4);
    EXPECT_TRUE(rig.process->finished());
    EXPECT_EQ(rig.result(), 1);
}

TEST(GalderRecords, HeaderWithoutZeroThirdByteKeepsLayoutAndTotal) {
    GalderRig rig(2);
    rig.load();
    rig.reachRecords(GalderHeader(1, 3, '\x05'));
    EXPECT_EQ(rig.process->recordType(), 0);
    EXPECT_EQ(rig.process->recordTotal(), 0);
    rig.receive(Record(1));
    EXPECT_EQ(rig.view.status(), "Received 1 of 0 Records...");
    rig.receive(Record(2));
    // No layout: the records carry nothing but their numbers.
    EXPECT_EQ(rig.sink.lines, (std::vector<std::string>{"1,0,0,Unknown,,,,,1,;,;,;,,,,,,,,,,",
                                                        "2,1,0,Unknown,,,,,1,;,;,;,,,,,,,,,,"}));
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].box.text, kLimitText);
    EXPECT_EQ(rig.result(), 2);
}

TEST(GalderRecords, AnEmptyAddressBookCompletesWithoutATimeOut) {
    GalderRig rig;
    rig.load();
    rig.reachRecords(GalderHeader(1, 0));
    EXPECT_TRUE(rig.process->finished());
    EXPECT_EQ(rig.result(), 0);
    EXPECT_TRUE(rig.messages.shown.empty());
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_TRUE(rig.sink.lines.empty());
}

struct LimitCase {
    int announced;
    double limit;
    int expectedCount;
    bool notice;
};

class GalderLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(GalderLimitTest, StopsAtTheRecordLimit) {
    const LimitCase c = GetParam();
    GalderRig rig(c.limit);
    rig.load();
    rig.reachRecords(GalderHeader(1, c.announced));
    for (int n = 1; n <= c.announced; ++n)
        rig.receive(Record(n));
    EXPECT_EQ(rig.result(), c.expectedCount);
    EXPECT_EQ(static_cast<int>(rig.sink.lines.size()), c.expectedCount);
    // Every record but the last one written is acknowledged.
    EXPECT_EQ(CountWrites(rig.port, kAck), c.expectedCount - 1);
    EXPECT_TRUE(rig.process->finished());
    EXPECT_FALSE(rig.port.isOpen());
    if (c.notice) {
        ASSERT_EQ(rig.messages.shown.size(), 1u);
        const auto& box = rig.messages.shown[0].box;
        EXPECT_EQ(box.caption, kAppTitle);
        EXPECT_EQ(box.text, kLimitText);
        EXPECT_EQ(box.icon, MsgIcon::None);
        EXPECT_EQ(box.buttons, MsgButtons::Ok);
        EXPECT_EQ(rig.process->parserState(), 8);
    } else {
        EXPECT_TRUE(rig.messages.shown.empty());
        EXPECT_EQ(rig.process->parserState(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Limits, GalderLimitTest,
                         ::testing::Values(LimitCase{3, 3, 3, false}, LimitCase{5, 3, 3, true},
                                           LimitCase{2, 3, 2, false}, LimitCase{5, 2.5, 3, true},
                                           LimitCase{1, 1, 1, false}));

struct IdentCase {
    const char* name;
    std::string firstPart;
    std::string secondPart;
    bool disabled;
};

class GalderIdentificationTest : public ::testing::TestWithParam<IdentCase> {};

TEST_P(GalderIdentificationTest, JudgedByTheLastByteOfAtLeast37) {
    const IdentCase c = GetParam();
    GalderRig rig;
    rig.load();
    rig.receive("\x8B");
    rig.receive(c.firstPart);
    EXPECT_EQ(rig.process->parserState(), 6) << "36 bytes must wait";
    EXPECT_TRUE(rig.messages.shown.empty());
    rig.receive(c.secondPart);
    if (c.disabled) {
        ASSERT_EQ(rig.messages.shown.size(), 1u);
        EXPECT_EQ(rig.messages.shown[0].box.caption, "Disabled Device");
        EXPECT_EQ(rig.result(), -1);
        EXPECT_EQ(CountWrites(rig.port, kStart), 0);
    } else {
        EXPECT_TRUE(rig.messages.shown.empty());
        EXPECT_EQ(rig.process->parserState(), 7);
        EXPECT_EQ(rig.port.writes.back().bytes, kStart);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, GalderIdentificationTest,
    ::testing::Values(IdentCase{"LastByteD", IdentificationAnswer(36), "D", true},
                      IdentCase{"DBeforeTheLast", IdentificationAnswer(36, 'D'), "x", false},
                      IdentCase{"LowerCaseD", IdentificationAnswer(36, 'D'), "d", false},
                      IdentCase{"LongerEndingD", IdentificationAnswer(30), std::string(10, 'D'),
                                true}),
    [](const auto& info) { return std::string(info.param.name); });

struct FirstAnswerCase {
    const char* name;
    std::vector<std::string> receipts;
    bool error;
};

class GalderFirstAnswerTest : public ::testing::TestWithParam<FirstAnswerCase> {};

TEST_P(GalderFirstAnswerTest, OnlyExactly8BIsAccepted) {
    GalderRig rig;
    rig.load();
    for (const auto& r : GetParam().receipts)
        rig.receive(r);
    if (GetParam().error) {
        ASSERT_EQ(rig.messages.shown.size(), 1u);
        EXPECT_EQ(rig.messages.shown[0].box.text,
                  "A timeout occurred waiting for data from the device. (EL-0)");
        EXPECT_EQ(rig.result(), -1);
        EXPECT_EQ(Writes(rig.port), std::vector<std::string>{kWake});
    } else {
        EXPECT_TRUE(rig.messages.shown.empty());
        EXPECT_FALSE(rig.process->finished());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, GalderFirstAnswerTest,
    ::testing::Values(FirstAnswerCase{"Twice8B", {"\x8B\x8B"}, true},
                      FirstAnswerCase{"TwoOtherBytes", {std::string(2, '\0')}, true},
                      FirstAnswerCase{"OneByteThen8B", {std::string(1, '\0'), "\x8B"}, true},
                      FirstAnswerCase{"OneOtherByteWaits", {std::string(1, '\0')}, false},
                      FirstAnswerCase{"Exactly8B", {"\x8B"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GalderRecords, OutOfStepStreamIsAnOverflowOnlyFrom258Bytes) {
    GalderRig rig;
    rig.load();
    rig.reachRecords(GalderHeader(1, 3));
    rig.receive(std::string(257, '\0'));
    EXPECT_TRUE(rig.messages.shown.empty());
    EXPECT_FALSE(rig.process->finished());
    rig.receive(std::string(1, '\x7F'));
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].box.text,
              "An overflow error occurred processing the address book");
    EXPECT_EQ(rig.result(), -1);
    EXPECT_TRUE(rig.sink.lines.empty());
}

// Every ending that shows a message: the box comes once, with the tick off
// and the port still open; afterwards the port is closed, the window asked
// to close, and neither ticks nor bytes do anything more.
struct EndingCase {
    const char* name;
    std::function<void(GalderRig&)> run;
    std::string caption;
    std::string text;
    MsgIcon icon;
    int result;
    std::size_t linesWritten;
};

class GalderEndingTest : public ::testing::TestWithParam<EndingCase> {};

TEST_P(GalderEndingTest, MessageOnceThenNothingMore) {
    const EndingCase& c = GetParam();
    test::FailingSink failing(1);
    GalderRig rig(2);
    if (std::string(c.name) == "WriteFailed")
        rig.process->Galderfhandle = &failing;
    // Whatever happens while the box is up must be ignored.
    rig.messages.whileShown = [&] {
        rig.process->OnCancel();
        rig.receive(Record(9));
        rig.process->OnTick();
    };
    rig.load();
    c.run(rig);

    ASSERT_EQ(rig.messages.shown.size(), 1u);
    const auto& shown = rig.messages.shown[0];
    EXPECT_EQ(shown.box.caption, c.caption);
    EXPECT_EQ(shown.box.text, c.text);
    EXPECT_EQ(shown.box.icon, c.icon);
    EXPECT_EQ(shown.box.buttons, MsgButtons::Ok);
    EXPECT_FALSE(shown.timerActive);
    EXPECT_TRUE(shown.portOpen);

    EXPECT_EQ(rig.result(), c.result);
    EXPECT_TRUE(rig.process->finished());
    EXPECT_EQ(rig.view.closeCount, 1);
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_FALSE(rig.timer.isActive());
    const std::size_t lines = rig.sink.lines.size() + failing.lines.size();
    EXPECT_EQ(lines, c.linesWritten);

    const auto writes = rig.port.writes.size();
    rig.receive(Record(10));
    rig.process->OnTick();
    rig.ticks(20);
    EXPECT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.port.writes.size(), writes);
    EXPECT_EQ(rig.sink.lines.size() + failing.lines.size(), lines);
    EXPECT_EQ(rig.result(), c.result);
    EXPECT_EQ(rig.view.closeCount, 1);
    EXPECT_EQ(rig.port.writesWhileClosed, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, GalderEndingTest,
    ::testing::Values(
        EndingCase{"NoAnswer", [](GalderRig& r) { r.ticks(6); }, "Error Occurred", kNoAnswerText,
                   MsgIcon::Critical, -1, 0},
        EndingCase{"DataTimeOut",
                   [](GalderRig& r) {
                       r.receive("\x8B");
                       r.ticks(11);
                   },
                   "Error Occurred", kTimeoutText, MsgIcon::Critical, -1, 0},
        EndingCase{"FirstAnswer", [](GalderRig& r) { r.receive("\x8B\x8B"); }, "Error Occurred",
                   "A timeout occurred waiting for data from the device. (EL-0)", MsgIcon::Critical,
                   -1, 0},
        EndingCase{"Disabled",
                   [](GalderRig& r) {
                       r.receive("\x8B");
                       r.receive(IdentificationAnswer(37, 'D'));
                   },
                   "Disabled Device",
                   "The device is permanently disabled and the address book cannot be accessed.",
                   MsgIcon::Critical, -1, 0},
        EndingCase{"Overflow",
                   [](GalderRig& r) { r.reachRecords(GalderHeader(1, 5) + std::string(300, 'x')); },
                   "Error Occurred", "An overflow error occurred processing the address book",
                   MsgIcon::Critical, -1, 0},
        EndingCase{"WriteFailed",
                   [](GalderRig& r) { r.reachRecords(GalderHeader(1, 5) + Record(1) + Record(2)); },
                   "Error Occurred", "An error occurred processing the address book",
                   MsgIcon::Critical, -1, 1},
        EndingCase{"Limit",
                   [](GalderRig& r) {
                       r.reachRecords(GalderHeader(1, 5) + Record(1) + Record(2) + Record(3));
                   },
                   kAppTitle, kLimitText, MsgIcon::None, 2, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GalderRecords, AFullDiskKeepsTheLinesWrittenBefore) {
    test::FailingSink failing(2);
    GalderRig rig;
    rig.process->Galderfhandle = &failing;
    rig.load();
    rig.reachRecords(GalderHeader(1, 5));
    for (int n = 1; n <= 4; ++n)
        rig.receive(Record(n));
    EXPECT_EQ(failing.lines.size(), 2u);
    EXPECT_EQ(rig.result(), -1);
    EXPECT_EQ(rig.process->parserState(), 0);
    EXPECT_EQ(CountWrites(rig.port, kAck), 2);
}

TEST(GalderCancel, NoticedByTheTickLeavesThePortOpenUntilUnload) {
    GalderRig rig;
    rig.load();
    rig.process->OnCancel();
    EXPECT_FALSE(rig.process->finished()); // the button only sets the flag
    ASSERT_TRUE(rig.tick());
    EXPECT_EQ(rig.result(), -2);
    EXPECT_TRUE(rig.process->finished());
    EXPECT_TRUE(rig.messages.shown.empty());
    EXPECT_TRUE(rig.port.isOpen());
    EXPECT_FALSE(rig.timer.isActive());
    const auto writes = rig.port.writes.size();
    rig.receive("\x8B");
    EXPECT_EQ(rig.port.writes.size(), writes);
    rig.process->Unload();
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_EQ(rig.result(), -2);
}

TEST(GalderCancel, NoticedOnReceiptClosesThePort) {
    GalderRig rig;
    rig.load();
    rig.reachRecords(GalderHeader(1, 3));
    const auto writes = rig.port.writes.size();
    rig.process->OnCancel();
    rig.receive(Record(1));
    EXPECT_EQ(rig.result(), -1);
    EXPECT_TRUE(rig.messages.shown.empty());
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_TRUE(rig.sink.lines.empty());
    EXPECT_EQ(rig.port.writes.size(), writes);
    EXPECT_EQ(rig.process->parserState(), 0);
}

TEST(GalderWakeUp, SilentDeviceFailsAfterSevenWakeUpBytes) {
    GalderRig rig;
    rig.load();
    rig.ticks(5);
    EXPECT_TRUE(rig.messages.shown.empty());
    EXPECT_EQ(rig.process->retryCount(), 5);
    rig.tick();
    ASSERT_EQ(rig.port.writes.size(), 7u);
    for (std::size_t i = 0; i < rig.port.writes.size(); ++i) {
        EXPECT_EQ(rig.port.writes[i].bytes, kWake);
        EXPECT_EQ(rig.secondsSinceLoad(rig.port.writes[i].at), static_cast<long long>(i));
    }
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].box.text, kNoAnswerText);
    EXPECT_EQ(rig.result(), -1);
}

class GalderAnswerAfterTicksTest : public ::testing::TestWithParam<int> {};

TEST_P(GalderAnswerAfterTicksTest, AnAnswerStopsTheWakeUpBytes) {
    GalderRig rig;
    rig.load();
    rig.ticks(GetParam());
    rig.receive("\x8B");
    EXPECT_EQ(rig.process->retryCount(), 0);
    rig.receive(IdentificationAnswer());
    rig.ticks(5);
    EXPECT_EQ(CountWrites(rig.port, kWake), 1 + GetParam());
    EXPECT_EQ(CountWrites(rig.port, kCommand), 1);
    EXPECT_TRUE(rig.messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Ticks, GalderAnswerAfterTicksTest, ::testing::Values(0, 3, 5));

TEST(GalderTimeOut, MoreThanTenSilentSecondsEndTheDownload) {
    GalderRig rig;
    rig.load();
    rig.reachRecords(GalderHeader(1, 5));
    const auto lastData = rig.clock.now();
    rig.ticks(10);
    EXPECT_TRUE(rig.messages.shown.empty());
    rig.tick();
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].box.text, kTimeoutText);
    EXPECT_EQ(rig.clock.now() - lastData, 11s);
    EXPECT_EQ(rig.result(), -1);
}

TEST(GalderTimeOut, DataEveryNineSecondsNeverTimesOut) {
    GalderRig rig;
    rig.load();
    rig.reachRecords(GalderHeader(1, 6));
    const std::string record = Record(1);
    for (int n = 0; n < 12; ++n) {
        rig.ticks(9);
        rig.receive(record.substr((n % 2) * 128, n % 2 == 0 ? 128 : 129));
    }
    EXPECT_TRUE(rig.messages.shown.empty());
    EXPECT_EQ(rig.sink.lines.size(), 6u);
    EXPECT_EQ(rig.result(), 6);
}

TEST(GalderProgress, OneStepPer76BytesWrappingAt100) {
    GalderRig rig(250);
    rig.load();
    // 1 + 37 + 4 bytes so far.
    rig.reachRecords(GalderHeader(1, 120));
    EXPECT_TRUE(rig.view.progress.empty());
    const std::string record = Record(1);
    rig.receive(record.substr(0, 33)); // 75 bytes
    EXPECT_TRUE(rig.view.progress.empty());
    rig.receive(record.substr(33, 1)); // 76
    EXPECT_EQ(rig.view.progress, std::vector<int>{1});
    rig.receive(record.substr(34, 75)); // the count started again
    EXPECT_EQ(rig.view.progress.size(), 1u);
    rig.receive(record.substr(109));
    EXPECT_EQ(rig.view.progress.back(), 2);
    for (int n = 2; n <= 99; ++n)
        rig.receive(Record(n));
    EXPECT_EQ(rig.view.progress.back(), 0);
    EXPECT_EQ(rig.view.progress[rig.view.progress.size() - 2], 99);
    EXPECT_EQ(rig.process->progressValue(), 0);
}

TEST(GalderLoad, PortNumberZeroLoadsIdle) {
    test::TempDir dir;
    GalderRig rig(250, true, dir.path());
    rig.load(0);
    EXPECT_TRUE(rig.port.openedPorts.empty());
    EXPECT_EQ(rig.timer.starts, 0);
    rig.port.queue("\x8B");
    rig.process->OnDataReceived();
    rig.process->OnTick();
    EXPECT_TRUE(rig.port.writes.empty());
    EXPECT_FALSE(rig.process->finished());
    EXPECT_TRUE(rig.view.statuses.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("debug.log")));
}

struct OpenFailureCase {
    SerialOpenResult::Status status;
    std::string description;
};

class GalderOpenFailureTest : public ::testing::TestWithParam<OpenFailureCase> {};

TEST_P(GalderOpenFailureTest, ThrowsWithTheDescription) {
    GalderRig rig;
    rig.port.openResult = {GetParam().status, GetParam().description};
    try {
        rig.load(3);
        FAIL() << "no SerialPortError";
    } catch (const SerialPortError& error) {
        EXPECT_EQ(std::string(error.what()), GetParam().description);
    }
    EXPECT_EQ(rig.port.openedPorts, std::vector<int>{3});
    EXPECT_TRUE(rig.port.writes.empty());
    EXPECT_FALSE(rig.timer.isActive());
    rig.process->OnTick();
    rig.receive("\x8B");
    EXPECT_TRUE(rig.port.writes.empty());
    EXPECT_TRUE(rig.messages.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Failures, GalderOpenFailureTest,
                         ::testing::Values(OpenFailureCase{SerialOpenResult::Status::NoSuchPort,
                                                           "COM3 (ttyS2): no such port"},
                                           OpenFailureCase{SerialOpenResult::Status::Failed,
                                                           "COM3 (ttyS2): the port is in use"}));

std::string Traced(const std::string& bytes) {
    return "\r\nTX:" + bytes + "\r\n";
}

std::string State(int state) {
    return "\r\nState:" + std::to_string(state) + "\r\n";
}

TEST(GalderTrace, DebugOnTracesTheWholeExchange) {
    test::TempDir dir;
    GalderRig rig(250, true, dir.path());
    rig.load();
    EXPECT_EQ(rig.process->debugLogPath(),
              dir.path() + std::string(1, kPathSeparator) + "debug.log");
    rig.receive("\x8B");
    rig.receive(IdentificationAnswer());
    rig.tick();
    const std::string data = GalderHeader(1, 1) + Record(1);
    rig.receive(data);
    ASSERT_EQ(rig.result(), 1);

    const std::string expected = "\r\nStart Of Operation\r\n" + Traced(kWake) + "\x8B" +
                                 Traced(kIdentify) + IdentificationAnswer() + State(6) +
                                 Traced(kStart) + Traced(kCommand) + data + State(7) + State(8) +
                                 State(9);
    EXPECT_EQ(test::ReadFile(dir.file("debug.log")), expected);

    // A second download appends to the same file.
    GalderRig again(250, true, dir.path());
    again.load();
    EXPECT_EQ(test::ReadFile(dir.file("debug.log")),
              expected + "\r\nStart Of Operation\r\n" + Traced(kWake));
}

TEST(GalderTrace, DebugOffWritesNoFile) {
    test::TempDir dir;
    GalderRig rig(250, false, dir.path());
    rig.load();
    rig.reachRecords(GalderHeader(1, 1) + Record(1));
    EXPECT_EQ(rig.result(), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("debug.log")));
}

TEST(GalderTrace, AnUnwritableTraceIsIgnored) {
    test::TempDir dir;
    GalderRig rig(250, true, dir.file("missing-folder"));
    rig.load();
    rig.reachRecords(GalderHeader(1, 1) + Record(1));
    EXPECT_EQ(rig.result(), 1);
    EXPECT_TRUE(rig.messages.shown.empty());
}

TEST(GalderReentry, DataDuringPendingEventsWaitsForThePass) {
    GalderRig rig;
    rig.load();
    // The identification answer arrives while the pass for 8B lets events
    // run; read at once it would join 8B and spoil the wake-up answer.
    rig.view.pendingEvents.push_back([&] { rig.receive(IdentificationAnswer()); });
    rig.receive("\x8B");
    EXPECT_TRUE(rig.messages.shown.empty());
    EXPECT_EQ(Writes(rig.port), (std::vector<std::string>{kWake, kIdentify, kStart}));
    EXPECT_EQ(rig.process->parserState(), 7);
    EXPECT_TRUE(rig.port.incoming().empty());
}

TEST(GalderReentry, PortReadInPiecesIsDrainedByOneNotification) {
    GalderRig rig;
    rig.load();
    rig.reachRecords(GalderHeader(1, 3));
    rig.port.readChunk = 100;
    rig.receive(Record(1) + Record(2) + Record(3));
    EXPECT_EQ(rig.sink.lines.size(), 3u);
    EXPECT_EQ(rig.result(), 3);
    EXPECT_TRUE(rig.port.incoming().empty());
}

TEST(GalderReentry, TimeOutDuringPendingEventsStopsThePass) {
    GalderRig rig;
    rig.load();
    rig.reachRecords(GalderHeader(1, 3));
    const auto writes = rig.port.writes.size();
    rig.view.pendingEvents.push_back([&] {
        rig.clock.advance(11s);
        rig.process->OnTick();
    });
    rig.receive(Record(1));
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].box.text, kTimeoutText);
    EXPECT_EQ(rig.result(), -1);
    EXPECT_TRUE(rig.sink.lines.empty());
    EXPECT_EQ(rig.port.writes.size(), writes);
    EXPECT_EQ(rig.port.writesWhileClosed, 0);
}

TEST(GalderReentry, CancelAndTickDuringPendingEventsSendNothingMore) {
    GalderRig rig;
    rig.load();
    rig.reachRecords(GalderHeader(1, 3));
    const auto writes = rig.port.writes.size();
    rig.view.pendingEvents.push_back([&] {
        rig.process->OnCancel();
        rig.tick();
    });
    rig.receive(Record(1));
    EXPECT_EQ(rig.result(), -2);
    EXPECT_TRUE(rig.port.isOpen()); // the port closes with the window
    EXPECT_EQ(rig.port.writes.size(), writes);
    EXPECT_TRUE(rig.sink.lines.empty());
    EXPECT_EQ(rig.view.closeCount, 1);
}

TEST(GalderReentry, CancelDuringPendingEventsEndsThePass) {
    GalderRig rig;
    rig.load();
    rig.reachRecords(GalderHeader(1, 3));
    const auto writes = rig.port.writes.size();
    rig.view.pendingEvents.push_back([&] { rig.process->OnCancel(); });
    rig.receive(Record(1));
    EXPECT_EQ(rig.result(), -1);
    EXPECT_FALSE(rig.port.isOpen());
    EXPECT_EQ(rig.port.writes.size(), writes);
    EXPECT_TRUE(rig.sink.lines.empty());
}

TEST(GalderReentry, EventsRunAtEveryTenthRecord) {
    GalderRig rig;
    rig.load();
    rig.reachRecords(GalderHeader(1, 25));
    const int before = rig.view.processEventsCount;
    for (int n = 1; n <= 21; ++n)
        rig.receive(Record(n));
    // Passes that start with 0, 10 and 20 records written.
    EXPECT_EQ(rig.view.processEventsCount - before, 3);
}

} // namespace
} // namespace addrix
