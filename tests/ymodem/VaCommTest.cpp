// The uploader's serial port component: how it opens and sets up the line, who gets
// the received bytes, writes from any thread, and a device that vanishes.
#include "FakeSerialDevice.h"
#include "PtyPair.h"
#include "SenderRig.h"
#include "VaComm.h"

#include "Exception.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <ostream>
#include <thread>

using namespace ymodem_test;
using namespace std::chrono_literals;
using serial::FakeLine;
using serial::TVaComm;

namespace {

class RecordingClient : public serial::TVaCommComponent {
public:
    void DataChanged(const uint8_t* data, int count) override
    {
        received.insert(received.end(), data, data + count);
        onGuiThread = onGuiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    }
    std::vector<uint8_t> received;
    bool onGuiThread = true;
};

std::string OpenError(TVaComm& comm)
{
    try {
        comm.Open();
    } catch (const platform::Exception& error) {
        return error.what();
    }
    return "(opened)";
}

TEST(VaCommOpen, ComNumberOpensTheSystemPortAt115200With8N1AndNoFlowControl)
{
    auto line = std::make_shared<FakeLine>();
    line->driverSettings.ctsOutputFlow = true;
    line->driverSettings.xonXoffInput = true;
    TVaComm comm(nullptr, serial::FakeDeviceFactory(line));
    comm.SetPortNum(3);
    comm.Open();

    EXPECT_EQ(comm.PortName(), "COM3");
    EXPECT_EQ(line->openedNames, std::vector<std::string>{serial::ComPortDeviceName(3)});
    ASSERT_FALSE(line->appliedSettings.empty());
    const auto& s = line->appliedSettings.back();
    EXPECT_EQ(s.baudRate, 115200u);
    EXPECT_EQ(s.byteSize, 8);
    EXPECT_EQ(s.parity, serial::Parity::None);
    EXPECT_EQ(s.stopBits, serial::StopBits::One);
    EXPECT_EQ(s.rtsControl, serial::RtsControl::Disable);
    EXPECT_FALSE(s.ctsOutputFlow || s.xonXoffOutput || s.xonXoffInput);
    EXPECT_EQ(line->modemControls,
              (std::vector<serial::ModemControl>{serial::ModemControl::ClearDtr, serial::ModemControl::ClearRts}));
}

struct OpenFailure {
    const char* name;
    int error;
    const char* systemText;
    const char* shown;
};

void PrintTo(const OpenFailure& c, std::ostream* os) { *os << c.name; }

class VaCommOpenFailure : public ::testing::TestWithParam<OpenFailure> {};

TEST_P(VaCommOpenFailure, RaisesTheComponentsMessageAndStaysClosed)
{
    auto line = std::make_shared<FakeLine>();
    line->failing.insert(serial::FakeCall::Open);
    line->failError = GetParam().error;
    line->failText = GetParam().systemText;
    TVaComm comm(nullptr, serial::FakeDeviceFactory(line));
    comm.SetPortNum(3);

    EXPECT_EQ(OpenError(comm), GetParam().shown);
    EXPECT_FALSE(comm.IsOpen());
    comm.Close(); // closing a port that is not open does nothing
}

INSTANTIATE_TEST_SUITE_P(
    Errors, VaCommOpenFailure,
    ::testing::Values(OpenFailure{"no_such_device", ENOENT, "No such file or directory",
                                  "Specified device not found (COM3)."},
                      OpenFailure{"permission_denied", EACCES, "Permission denied",
                                  "Can't open specified device COM3 (Error 13, Permission denied)"},
                      OpenFailure{"busy", EBUSY, "Device or resource busy",
                                  "Can't open specified device COM3 (Error 16, Device or resource busy)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VaCommOpen, MissingDevicePathIsNotFound)
{
    TVaComm comm;
    comm.SetDevicePath("/dev/no-such-adapter");
    EXPECT_EQ(OpenError(comm), "Specified device not found (/dev/no-such-adapter).");
}

TEST(VaCommOpen, DeviceNameIsFilledInAsTextNeverAsAFormat)
{
    auto line = std::make_shared<FakeLine>();
    TVaComm comm(nullptr, serial::FakeDeviceFactory(line));
    comm.SetPortNum(0);
    comm.SetDeviceName("/dev/ttyUSB%d");
    EXPECT_EQ(comm.PortName(), "/dev/ttyUSB0");
    comm.SetDeviceName("%s%n%d");
    comm.SetPortNum(4);
    EXPECT_EQ(comm.PortName(), "%s%n4");
    comm.Open();
    EXPECT_EQ(line->openedNames, std::vector<std::string>{"%s%n4"});
}

class VaCommOnPty : public ::testing::Test {
protected:
    void SetUp() override
    {
        comm.SetDevicePath(pty.slavePath());
        comm.Open();
        comm.OnRxChar = [this](platform::TObject*, int count) { rxCounts.push_back(count); };
    }

    PtyPair pty;
    TVaComm comm;
    std::vector<int> rxCounts;
};

TEST_F(VaCommOnPty, WithoutClientsRaisesOnRxCharAndKeepsTheBytesForReadText)
{
    pty.Write("OK");
    ASSERT_TRUE(RunEventsUntil([&] { return comm.InQue() == 2 && !rxCounts.empty(); }, 5s));
    EXPECT_EQ(comm.ReadText(), "OK");
    EXPECT_EQ(comm.InQue(), 0);
}

TEST_F(VaCommOnPty, AttachedClientGetsEveryByteOnTheGuiThreadInsteadOfOnRxChar)
{
    RecordingClient client;
    client.SetActive(true);
    client.SetComm(&comm);
    const auto bytes = TestBytes(20000);
    std::thread writer([&] { pty.Write(bytes.data(), bytes.size()); });
    ASSERT_TRUE(RunEventsUntil([&] { return client.received.size() >= bytes.size(); }, 10s));
    writer.join();

    EXPECT_EQ(client.received, bytes);
    EXPECT_TRUE(client.onGuiThread);
    EXPECT_TRUE(rxCounts.empty());
    EXPECT_EQ(comm.InQue(), 0);

    client.SetComm(nullptr); // detached: the window hears the port again
    pty.Write("C");
    ASSERT_TRUE(RunEventsUntil([&] { return !rxCounts.empty(); }, 5s));
    EXPECT_EQ(comm.ReadText(), "C");
}

TEST_F(VaCommOnPty, InactiveClientIsSkippedAndTheBytesDoNotStayInThePort)
{
    RecordingClient idle;
    idle.SetComm(&comm);
    RecordingClient active;
    active.SetActive(true);
    active.SetComm(&comm);
    pty.Write("xyz");
    ASSERT_TRUE(RunEventsUntil([&] { return active.received.size() == 3; }, 5s));
    EXPECT_TRUE(idle.received.empty());
    EXPECT_TRUE(rxCounts.empty());
    EXPECT_EQ(comm.InQue(), 0);
}

TEST_F(VaCommOnPty, WritesFromAnotherThreadArriveAndAClosedPortWritesNothing)
{
    std::thread worker([&] {
        comm.WriteChar('1');
        comm.WriteBuf("23", 2);
    });
    worker.join();
    EXPECT_EQ(pty.ReadUntilQuiet(200ms), (std::vector<uint8_t>{'1', '2', '3'}));
    comm.Close();
    EXPECT_EQ(comm.WriteBuf("4", 1), 0);
    EXPECT_FALSE(comm.IsReceiving());
}

TEST(VaCommDevice, MoreThanFourKilobytesWaitingReachTheClientInOrder)
{
    auto line = std::make_shared<FakeLine>();
    TVaComm comm(nullptr, serial::FakeDeviceFactory(line));
    comm.Open();
    RecordingClient client;
    client.SetActive(true);
    client.SetComm(&comm);
    const auto bytes = TestBytes(10000);
    line->feed(bytes);
    ASSERT_TRUE(RunEventsUntil([&] { return client.received.size() >= bytes.size(); }, 5s));
    EXPECT_EQ(client.received, bytes);
}

TEST(VaCommDevice, VanishedDeviceEndsTheReaderInsteadOfSpinning)
{
    auto line = std::make_shared<FakeLine>();
    TVaComm comm(nullptr, serial::FakeDeviceFactory(line));
    comm.Open();
    ASSERT_TRUE(comm.IsReceiving());
    line->vanish();
    ASSERT_TRUE(RunEventsUntil([&] { return !comm.IsReceiving(); }, 5s));
    EXPECT_EQ(line->count(serial::FakeCall::WaitForInput), 1u);
    comm.Close();
}

TEST(VaCommClients, EitherSideMayGoFirst)
{
    auto comm = std::make_unique<TVaComm>();
    RecordingClient client;
    client.SetComm(comm.get());
    comm.reset();
    EXPECT_EQ(client.Comm(), nullptr);

    TVaComm port;
    {
        RecordingClient shortLived;
        shortLived.SetComm(&port);
    }
    RecordingClient other;
    other.SetComm(&port); // the list no longer holds the destroyed client
    EXPECT_EQ(other.Comm(), &port);
}

} // namespace
