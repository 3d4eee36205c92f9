#include "app/logic/PortList.h"

#include "support/WizardFakes.h"

#include <gtest/gtest.h>

#include <ostream>

namespace addrix {
namespace {

using Status = SerialOpenResult::Status;

struct ProbeCase {
    const char* name;
    std::map<int, Status> ports;
    std::vector<int> listed;
};

void PrintTo(const ProbeCase& c, std::ostream* os) {
    *os << c.name;
}

class ProbeSerialPortsTest : public ::testing::TestWithParam<ProbeCase> {};

TEST_P(ProbeSerialPortsTest, ListsExactlyThePortsThatExist) {
    test::FakePortBank bank;
    bank.ports = GetParam().ports;

    EXPECT_EQ(ProbeSerialPorts(bank), GetParam().listed);

    // Every number from 1 to 16 is tried once, in order, and none above.
    std::vector<int> all;
    for (int n = 1; n <= 16; ++n)
        all.push_back(n);
    EXPECT_EQ(bank.opened, all);
    EXPECT_EQ(bank.doubleOpens, 0);
    EXPECT_FALSE(bank.isOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Machines, ProbeSerialPortsTest,
    ::testing::Values(ProbeCase{"Com1AndCom3", {{1, Status::Opened}, {3, Status::Opened}}, {1, 3}},
                      ProbeCase{
                          "BusyPortIsListed", {{2, Status::Failed}, {5, Status::Opened}}, {2, 5}},
                      ProbeCase{"NoPorts", {}, {}},
                      ProbeCase{"Com16ButNotCom17",
                                {{16, Status::Opened}, {17, Status::Opened}, {0, Status::Opened}},
                                {16}},
                      ProbeCase{"AllSixteen",
                                {{1, Status::Opened},
                                 {2, Status::Failed},
                                 {3, Status::Opened},
                                 {4, Status::Opened},
                                 {5, Status::Opened},
                                 {6, Status::Opened},
                                 {7, Status::Opened},
                                 {8, Status::Opened},
                                 {9, Status::Opened},
                                 {10, Status::Opened},
                                 {11, Status::Opened},
                                 {12, Status::Opened},
                                 {13, Status::Opened},
                                 {14, Status::Opened},
                                 {15, Status::Opened},
                                 {16, Status::Failed}},
                                {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}}),
    [](const ::testing::TestParamInfo<ProbeCase>& info) { return info.param.name; });

TEST(ProbeSerialPorts, ClosesAPortLeftOpenBeforeProbing) {
    test::FakePortBank bank;
    bank.ports = {{4, Status::Opened}};
    bank.open(4); // the download window's port, still open
    bank.opened.clear();

    EXPECT_EQ(ProbeSerialPorts(bank), std::vector<int>{4});
    EXPECT_EQ(bank.doubleOpens, 0);
    EXPECT_FALSE(bank.isOpen());
}

// A port that will not close must not end the probe early.
TEST(ProbeSerialPorts, GoesOnWhenClosingFails) {
    test::FakePortBank bank;
    bank.ports = {{1, Status::Opened}, {9, Status::Opened}};
    bank.throwOnClose = true;

    EXPECT_EQ(ProbeSerialPorts(bank), (std::vector<int>{1, 9}));
    EXPECT_EQ(bank.opened.size(), 16u);
}

TEST(PortCaption, IsComAndTheNumberWithoutLeadingZeros) {
    EXPECT_EQ(PortCaption(1), "COM1");
    EXPECT_EQ(PortCaption(16), "COM16");
}

} // namespace
} // namespace addrix
