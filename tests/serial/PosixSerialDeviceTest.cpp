// The termios device against a real pseudo-terminal: the byte path, the line
// settings as the kernel holds them, the waits a reader thread relies on.
#include "PosixSerialDevice.h"
#include "PtyPair.h"
#include "TermiosLineSettings.h"

#include <gtest/gtest.h>

#include <sys/ioctl.h>
#include <termios.h>

#include <cerrno>
#include <future>
#include <thread>

using namespace serial;
using serialtest::AllByteValues;
using serialtest::PtyPair;

namespace {

class PtyDevice : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.open(pty.slavePath())) << device.lastErrorText(); }

    termios slaveTermios() const
    {
        termios t{};
        tcgetattr(pty.slave(), &t);
        return t;
    }

    // Reads what is waiting until count bytes came (the pty hands bytes over
    // asynchronously) or a generous deadline passed.
    std::vector<uint8_t> readAll(std::size_t count)
    {
        std::vector<uint8_t> got;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (got.size() < count && std::chrono::steady_clock::now() < end) {
            if (device.waitForInput(100) != WaitResult::Readable)
                continue;
            uint8_t buffer[4096];
            uint32_t n = 0;
            EXPECT_TRUE(device.read(buffer, sizeof buffer, n));
            got.insert(got.end(), buffer, buffer + n);
        }
        return got;
    }

    PtyPair pty;
    PosixSerialDevice device;
};

TEST_F(PtyDevice, OpensRawExclusiveAndReleasesTheTtyOnClose)
{
    const termios t = slaveTermios();
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
    EXPECT_FALSE(t.c_iflag & (ICRNL | IXON));
    EXPECT_FALSE(t.c_oflag & OPOST);
    EXPECT_TRUE(t.c_cflag & CLOCAL);
    int exclusive = 0;
    ASSERT_EQ(ioctl(pty.slave(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);

    device.close();
    EXPECT_FALSE(device.isOpen());
    ASSERT_EQ(ioctl(pty.slave(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0) << "a closed port must not keep others out";
    EXPECT_TRUE(device.open(pty.slavePath()));
}

TEST_F(PtyDevice, PassesEveryByteValueUnchangedBothWays)
{
    const auto bytes = AllByteValues();
    pty.writeMaster(bytes);
    EXPECT_EQ(readAll(bytes.size()), bytes);

    uint32_t written = 0;
    ASSERT_TRUE(device.write(bytes.data(), static_cast<uint32_t>(bytes.size()), written));
    EXPECT_EQ(written, bytes.size());
    EXPECT_EQ(pty.readMaster(bytes.size()), bytes);
}

TEST_F(PtyDevice, ReportsTheQueuedCountAndReadsWithoutBlocking)
{
    uint8_t buffer[16];
    uint32_t n = 99;
    EXPECT_TRUE(device.read(buffer, sizeof buffer, n));
    EXPECT_EQ(n, 0u) << "nothing waiting is an empty read, not a failure";

    pty.writeMaster({1, 2, 3, 4, 5});
    ASSERT_EQ(device.waitForInput(10000), WaitResult::Readable);
    uint32_t errors = 1;
    uint32_t queued = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (queued < 5 && std::chrono::steady_clock::now() < end)
        ASSERT_TRUE(device.clearError(errors, queued));
    EXPECT_EQ(queued, 5u);
    EXPECT_EQ(errors, 0u) << "a pty keeps no error counters";

    ASSERT_TRUE(device.read(buffer, 3, n));
    EXPECT_EQ(n, 3u);
    ASSERT_TRUE(device.purge(PurgeRxClear));
    ASSERT_TRUE(device.clearError(errors, queued));
    EXPECT_EQ(queued, 0u);
}

TEST_F(PtyDevice, ModemCallsFailOnAPtyAndLeaveThePortUsable)
{
    uint32_t status = 0;
    EXPECT_FALSE(device.modemStatus(status));
    EXPECT_EQ(device.lastError(), ENOTTY);
    EXPECT_FALSE(device.setModemControl(ModemControl::SetDtr));
    pty.writeMaster({42});
    EXPECT_EQ(readAll(1), std::vector<uint8_t>{42});
}

TEST_F(PtyDevice, ALargeWriteCompletesWhileThePeerDrains)
{
    device.setWriteStallTimeout(30000); // a loaded machine may starve the reader for a while
    std::vector<uint8_t> data(200000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 7);
    auto received = std::async(std::launch::async, [&] { return pty.readMaster(data.size()); });
    uint32_t written = 0;
    EXPECT_TRUE(device.write(data.data(), static_cast<uint32_t>(data.size()), written)) << device.lastErrorText();
    EXPECT_EQ(written, data.size());
    EXPECT_EQ(received.get(), data);
}

TEST_F(PtyDevice, AWriteNobodyTakesGivesUpInsteadOfHanging)
{
    device.setWriteStallTimeout(50);
    std::vector<uint8_t> data(1 << 20, 0x55);
    uint32_t written = 0;
    EXPECT_FALSE(device.write(data.data(), static_cast<uint32_t>(data.size()), written));
    EXPECT_EQ(device.lastError(), ETIMEDOUT);
    EXPECT_GT(written, 0u);
    EXPECT_LT(written, data.size());
}

TEST_F(PtyDevice, WaitEndsOnTimeoutInputAndInterrupt)
{
    EXPECT_EQ(device.waitForInput(1), WaitResult::TimedOut);

    device.interruptWait();
    EXPECT_EQ(device.waitForInput(-1), WaitResult::Interrupted) << "a wake-up sent before the wait is kept";
    EXPECT_EQ(device.waitForInput(1), WaitResult::TimedOut) << "and used once";

    auto waiting = std::async(std::launch::async, [&] { return device.waitForInput(-1); });
    device.interruptWait();
    EXPECT_EQ(waiting.get(), WaitResult::Interrupted);

    waiting = std::async(std::launch::async, [&] { return device.waitForInput(-1); });
    pty.writeMaster({7});
    EXPECT_EQ(waiting.get(), WaitResult::Readable);
}

TEST_F(PtyDevice, AVanishedPeerIsGoneToEveryWaitNotReadable)
{
    // A reader that got Readable here would read nothing and wait again: a spin.
    pty.closeMaster();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(device.waitForInput(-1), WaitResult::Gone);
}

TEST(PosixSerialDevice, AClosedDeviceRefusesEveryCallAndIsGoneToAWaiter)
{
    PosixSerialDevice device;
    uint32_t a = 0, b = 0;
    uint8_t byte = 0;
    LineSettings settings;
    EXPECT_FALSE(device.setupQueues(4096, 4096));
    EXPECT_FALSE(device.clearError(a, b));
    EXPECT_FALSE(device.read(&byte, 1, a));
    EXPECT_FALSE(device.write(&byte, 1, a));
    EXPECT_FALSE(device.getLineSettings(settings));
    EXPECT_EQ(device.lastError(), EBADF);
    EXPECT_EQ(device.waitForInput(-1), WaitResult::Gone);
}

struct OpenFailureCase {
    const char* path;
    int error;
};

void PrintTo(const OpenFailureCase& c, std::ostream* os) { *os << c.path; }

class FailedOpen : public ::testing::TestWithParam<OpenFailureCase> {};

TEST_P(FailedOpen, ReportsTheSystemErrorWithThePath)
{
    PosixSerialDevice device;
    EXPECT_FALSE(device.open(GetParam().path));
    EXPECT_FALSE(device.isOpen());
    EXPECT_EQ(device.lastError(), GetParam().error);
    EXPECT_NE(device.lastErrorText().find(GetParam().path), std::string::npos) << device.lastErrorText();
}

INSTANTIATE_TEST_SUITE_P(Paths, FailedOpen,
                         ::testing::Values(OpenFailureCase{"/dev/ttyNOVALK-does-not-exist", ENOENT},
                                           OpenFailureCase{"/dev/null", ENOTTY}));

// --- line settings ---
// A pty forces 8 data bits and no parity on itself, so the table checks the
// termios record the device writes; the pty shows that what it keeps arrives.

struct LineCase {
    const char* name;
    LineSettings settings;
    tcflag_t cflagSet;   // bits that must be on
    tcflag_t cflagClear; // bits that must be off
    tcflag_t iflagSet;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

LineSettings Line(uint32_t baud, uint8_t bits, Parity parity, StopBits stop)
{
    LineSettings s;
    s.baudRate = baud;
    s.byteSize = bits;
    s.parity = parity;
    s.stopBits = stop;
    return s;
}

LineSettings With(LineSettings s, RtsControl rts, bool xonXoff)
{
    s.rtsControl = rts;
    s.xonXoffInput = s.xonXoffOutput = xonXoff;
    return s;
}

class TermiosRecord : public ::testing::TestWithParam<LineCase> {};

TEST_P(TermiosRecord, HoldsTheSettingsAndReadsThemBack)
{
    const LineCase& c = GetParam();
    termios t{};
    MakeRaw(t);
    t.c_cflag |= PARENB | CSTOPB | CRTSCTS; // leftovers of a previous user
    t.c_iflag |= IXON | IXOFF;
    ASSERT_TRUE(ApplyLineSettings(t, c.settings));
    EXPECT_EQ(cfgetospeed(&t), cfgetispeed(&t));
    EXPECT_EQ(t.c_cflag & c.cflagSet, c.cflagSet);
    EXPECT_EQ(t.c_cflag & c.cflagClear, 0u);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), c.iflagSet);
    EXPECT_TRUE(t.c_cflag & (CLOCAL | CREAD));

    const LineSettings back = LineSettingsOf(t);
    EXPECT_EQ(back.baudRate, c.settings.baudRate);
    EXPECT_EQ(back.byteSize, c.settings.byteSize);
    EXPECT_EQ(back.parity, c.settings.parity);
    EXPECT_EQ(back.stopBits == StopBits::One, c.settings.stopBits == StopBits::One);
    EXPECT_EQ(back.ctsOutputFlow, c.settings.rtsControl == RtsControl::Handshake);
    EXPECT_EQ(back.xonXoffOutput, c.settings.xonXoffOutput);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TermiosRecord,
    ::testing::Values(
        LineCase{"115200_8N1", Line(115200, 8, Parity::None, StopBits::One), B115200 | CS8, PARENB | CSTOPB | CRTSCTS, 0},
        LineCase{"9600_7E1", Line(9600, 7, Parity::Even, StopBits::One), B9600 | CS7 | PARENB, PARODD | CMSPAR, 0},
        LineCase{"19200_8O2", Line(19200, 8, Parity::Odd, StopBits::Two), B19200 | CS8 | PARENB | PARODD | CSTOPB, CMSPAR, 0},
        LineCase{"57600_8M1", Line(57600, 8, Parity::Mark, StopBits::One), B57600 | PARENB | PARODD | CMSPAR, CSTOPB, 0},
        LineCase{"38400_8S1", Line(38400, 8, Parity::Space, StopBits::One), B38400 | PARENB | CMSPAR, PARODD, 0},
        LineCase{"4800_5N1_5", Line(4800, 5, Parity::None, StopBits::OneAndHalf), B4800 | CS5 | CSTOPB, PARENB, 0},
        LineCase{"RtsCts", With(Line(115200, 8, Parity::None, StopBits::One), RtsControl::Handshake, false), CRTSCTS, 0, 0},
        LineCase{"XonXoff", With(Line(115200, 8, Parity::None, StopBits::One), RtsControl::Disable, true), 0, CRTSCTS,
                 IXON | IXOFF}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PtyDevice, LineSettingsReachTheTtyAndKeepItRaw)
{
    LineSettings s = With(Line(57600, 8, Parity::None, StopBits::Two), RtsControl::Handshake, true);
    ASSERT_TRUE(device.setLineSettings(s)) << device.lastErrorText();
    const termios t = slaveTermios();
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B57600));
    EXPECT_TRUE(t.c_cflag & CSTOPB);
    EXPECT_TRUE(t.c_cflag & CRTSCTS);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
    EXPECT_FALSE(t.c_lflag & (ICANON | ECHO));

    LineSettings back;
    ASSERT_TRUE(device.getLineSettings(back));
    EXPECT_EQ(back.baudRate, 57600u);
    EXPECT_EQ(back.stopBits, StopBits::Two);
}

class SpeedWithoutConstant : public PtyDevice, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(SpeedWithoutConstant, IsSetAndReadBackAlongWithTheOtherSettings)
{
    LineSettings s = Line(GetParam(), 8, Parity::None, StopBits::Two);
    ASSERT_TRUE(device.setLineSettings(s)) << device.lastErrorText();
    LineSettings back;
    ASSERT_TRUE(device.getLineSettings(back));
    EXPECT_EQ(back.baudRate, GetParam());
    EXPECT_EQ(back.stopBits, StopBits::Two);

    // A standard speed afterwards replaces it.
    ASSERT_TRUE(device.setLineSettings(Line(115200, 8, Parity::None, StopBits::One)));
    ASSERT_TRUE(device.getLineSettings(back));
    EXPECT_EQ(back.baudRate, 115200u);
    const termios t = slaveTermios();
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B115200));
}

INSTANTIATE_TEST_SUITE_P(Rates, SpeedWithoutConstant, ::testing::Values(100u, 14400u, 56000u, 128000u));

} // namespace
