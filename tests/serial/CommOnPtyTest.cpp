// TComm on a real pseudo-terminal: the byte path through the 10 ms tick both
// ways, and a port that is not there.
#include "Comm.h"
#include "EventLoopWait.h"
#include "Messages.h"
#include "PtyPair.h"

#include <gtest/gtest.h>

using namespace serial;
using serialtest::AllByteValues;
using serialtest::PtyPair;
using serialtest::WaitUntil;

namespace {

class CommOnPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        comm.SetDevicePath(pty.slavePath());
        comm.SetBaudRate(115200);
        comm.SetRThreshold(1);
        comm.SetPortOpen(true);
        ASSERT_TRUE(comm.PortOpen()) << (messages.texts().empty() ? "" : messages.texts()[0]);
    }
    void TearDown() override { comm.SetPortOpen(false); }

    PtyPair pty;
    platform::MessageCapture messages;
    TComm comm;
};

TEST_F(CommOnPty, BytesFromThePeerArriveThroughTheReceiveEvent)
{
    std::vector<uint8_t> received;
    comm.OnReceiveData = [&](platform::TObject*) {
        const auto bytes = comm.ReadInputByte();
        received.insert(received.end(), bytes.begin(), bytes.end());
    };
    // A telemetry frame, then every byte value: nothing is translated or eaten.
    std::vector<uint8_t> sent = {0x55, 0xA0, 0x10, 0x27, 0x10, 0x27, 0x10, 0x27, 0xBB};
    const auto all = AllByteValues();
    sent.insert(sent.end(), all.begin(), all.end());
    pty.writeMaster(sent);
    ASSERT_TRUE(WaitUntil([&] { return received.size() >= sent.size(); }));
    EXPECT_EQ(received, sent);
    EXPECT_TRUE(messages.texts().empty()) << "a pty's missing modem lines are not an error";
}

TEST_F(CommOnPty, OutputByteBytesReachThePeerInOrder)
{
    const std::vector<uint8_t> frame = {0x55, 0x64, 0x00, 0x01};
    ASSERT_TRUE(comm.OutputByte(frame));
    const auto all = AllByteValues();
    ASSERT_TRUE(comm.OutputByte(all));
    std::vector<uint8_t> expected = frame;
    expected.insert(expected.end(), all.begin(), all.end());
    EXPECT_EQ(pty.readMaster(expected.size()), expected);
    ASSERT_TRUE(comm.OutputString("1"));
    EXPECT_EQ(pty.readMaster(1), std::vector<uint8_t>{'1'});
}

TEST(CommOpenFailure, APortThatIsNotThereIsReportedAndStaysClosed)
{
    platform::MessageCapture messages;
    TComm comm;
    comm.SetDevicePath("/dev/ttyUSB-novalk-missing");
    comm.SetPortOpen(true);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0],
              "Error opening serial port\n/dev/ttyUSB-novalk-missing: No such file or directory");
    EXPECT_FALSE(comm.PortOpen());
    EXPECT_FALSE(comm.Polling());
    comm.SetPortOpen(false);
    EXPECT_EQ(messages.texts().size(), 1u) << "closing a port that never opened is silent";
}

} // namespace
