// The device layer's translations that need no device: port names, tty modem
// bits, error counters, the advice for a refused open.
#include "LineErrorCounters.h"
#include "ModemLines.h"
#include "OpenFailureText.h"
#include "SerialDevice.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

using namespace serial;

namespace {

struct PortNameCase {
    int n;
    const char* device;
};

void PrintTo(const PortNameCase& c, std::ostream* os) { *os << "COM" << c.n; }

class ComPortName : public ::testing::TestWithParam<PortNameCase> {};

TEST_P(ComPortName, IsTheOnBoardUartNumberedFromZero)
{
    EXPECT_EQ(ComPortDeviceName(GetParam().n), GetParam().device);
}

INSTANTIATE_TEST_SUITE_P(Ports, ComPortName,
                         ::testing::Values(PortNameCase{1, "/dev/ttyS0"}, PortNameCase{3, "/dev/ttyS2"},
                                           PortNameCase{10, "/dev/ttyS9"}, PortNameCase{16, "/dev/ttyS15"}));

TEST(ModemLines, MapsEachTtyLineToItsStatusBitAndIgnoresTheOthers)
{
    EXPECT_EQ(ModemStatusOf(TIOCM_CTS), ModemCtsOn);
    EXPECT_EQ(ModemStatusOf(TIOCM_DSR), ModemDsrOn);
    EXPECT_EQ(ModemStatusOf(TIOCM_RNG), ModemRingOn);
    EXPECT_EQ(ModemStatusOf(TIOCM_CAR), ModemRlsdOn);
    EXPECT_EQ(ModemStatusOf(TIOCM_DTR | TIOCM_RTS | TIOCM_LE), 0u) << "our own outputs are not status";
    EXPECT_EQ(ModemStatusOf(TIOCM_CTS | TIOCM_CAR), ModemCtsOn | ModemRlsdOn);
}

TEST(ModemLines, ControlRequestsMoveTheNamedLine)
{
    EXPECT_EQ(ModemLineChangeOf(ModemControl::SetDtr).ttyLine, TIOCM_DTR);
    EXPECT_TRUE(ModemLineChangeOf(ModemControl::SetDtr).raise);
    EXPECT_FALSE(ModemLineChangeOf(ModemControl::ClearDtr).raise);
    EXPECT_EQ(ModemLineChangeOf(ModemControl::SetRts).ttyLine, TIOCM_RTS);
    EXPECT_FALSE(ModemLineChangeOf(ModemControl::ClearRts).raise);
}

struct CounterCase {
    const char* name;
    uint64_t LineErrorCounters::*counter;
    uint32_t flag;
};

void PrintTo(const CounterCase& c, std::ostream* os) { *os << c.name; }

class ErrorCounters : public ::testing::TestWithParam<CounterCase> {};

TEST_P(ErrorCounters, AMovedCounterRaisesOnlyItsFlag)
{
    LineErrorCounters before;
    before.*GetParam().counter = 41;
    LineErrorCounters after = before;
    EXPECT_EQ(LineErrorFlagsBetween(before, after), 0u);
    after.*GetParam().counter += 3;
    EXPECT_EQ(LineErrorFlagsBetween(before, after), GetParam().flag);
    after.*GetParam().counter = 0; // the kernel's int counter wrapped
    EXPECT_EQ(LineErrorFlagsBetween(before, after), GetParam().flag);
}

INSTANTIATE_TEST_SUITE_P(
    Counters, ErrorCounters,
    ::testing::Values(CounterCase{"BufferOverrun", &LineErrorCounters::bufferOverrun, LineErrorRxOver},
                      CounterCase{"Overrun", &LineErrorCounters::overrun, LineErrorOverrun},
                      CounterCase{"Parity", &LineErrorCounters::parity, LineErrorParity},
                      CounterCase{"Frame", &LineErrorCounters::frame, LineErrorFrame},
                      CounterCase{"Break", &LineErrorCounters::breaks, LineErrorBreak}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OpenFailureText, NamesTheOwningGroupWhenDeniedAndExplainsABusyPort)
{
    const group* dialout = getgrnam("dialout");
    ASSERT_NE(dialout, nullptr);
    char path[] = "/tmp/fd-serial-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(fchown(fd, static_cast<uid_t>(-1), dialout->gr_gid), 0);
    close(fd);

    const std::string text = DescribeOpenFailure(path, EACCES);
    unlink(path);
    EXPECT_NE(text.find(path), std::string::npos) << text;
    EXPECT_NE(text.find("Permission denied"), std::string::npos) << text;
    EXPECT_NE(text.find("\"dialout\""), std::string::npos) << text;

    EXPECT_EQ(DescribeOpenFailure("/dev/ttyUSB7", ENOENT), "/dev/ttyUSB7: No such file or directory");
    EXPECT_EQ(DescribeOpenFailure("/dev/ttyACM0", EBUSY),
              "/dev/ttyACM0: Device or resource busy. Another program is using the port; close it and try again");
}

} // namespace
