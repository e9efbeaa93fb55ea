// TComm against the scriptable device: what a pty cannot show (modem lines,
// line errors, big queues, failing calls) and the exact calls the component makes.
#include "Comm.h"
#include "EventLoopWait.h"
#include "FakeSerialDevice.h"
#include "Exception.h"
#include "Messages.h"

#include <gtest/gtest.h>

#include <QPointer>

#include <functional>
#include <optional>

using namespace serial;
using serialtest::WaitUntil;

namespace {

class CommOnFake : public ::testing::Test {
protected:
    void open()
    {
        comm.SetPortOpen(true);
        ASSERT_TRUE(comm.PortOpen());
    }

    std::size_t ticks() const { return line->count(FakeCall::ClearError); }

    // Lets the timer tick a few more times, then stops it so counts can be compared.
    void runTicks(std::size_t n = 5)
    {
        const std::size_t until = ticks() + n;
        ASSERT_TRUE(WaitUntil([&] { return ticks() >= until; }));
        comm.SetPortOpen(false);
    }

    void feed(std::size_t n, uint8_t first = 0)
    {
        for (std::size_t i = 0; i < n; ++i)
            line->input.push_back(static_cast<uint8_t>(first + i));
    }

    std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>();
    platform::MessageCapture messages;
    TComm comm{nullptr, FakeDeviceFactory(line)};
};

TEST_F(CommOnFake, StartsClosedWithTheDocumentedDefaults)
{
    EXPECT_EQ(comm.CommPort(), TComPortNumber::pnCOM1);
    EXPECT_EQ(comm.BaudRate(), 9600);
    EXPECT_EQ(comm.GetHwHandShaking(), THwHandShaking::hhNone);
    EXPECT_EQ(comm.GetSwHandShaking(), TSwHandShaking::shNone);
    EXPECT_EQ(comm.DataBits(), TDataBits::DB8);
    EXPECT_EQ(comm.Parity(), TParity::None);
    EXPECT_EQ(comm.StopBits(), TStopBits::SB1);
    EXPECT_EQ(comm.RThreshold(), 0);
    EXPECT_EQ(comm.InputLen, 0);
    EXPECT_FALSE(comm.GetDTRStatus());
    EXPECT_FALSE(comm.GetRTSStatus());
    EXPECT_EQ(comm.ReadCommEvent(), 0u);
    EXPECT_EQ(comm.ReadCommError(), 0u);
    EXPECT_FALSE(comm.PortOpen());
    EXPECT_FALSE(comm.Polling());
    EXPECT_TRUE(line->calls.empty());
}

TEST_F(CommOnFake, OpensInTheDocumentedOrderAndStartsPolling)
{
    open();
    const std::vector<FakeCall> expected = {
        FakeCall::Open, FakeCall::SetupQueues, FakeCall::Purge, FakeCall::GetLineSettings,
        FakeCall::SetLineSettings, FakeCall::SetModemControl, FakeCall::SetModemControl};
    ASSERT_GE(line->calls.size(), expected.size());
    EXPECT_EQ(std::vector<FakeCall>(line->calls.begin(), line->calls.begin() + expected.size()), expected);
    EXPECT_EQ(line->openedNames, std::vector<std::string>{ComPortDeviceName(1)});
    EXPECT_EQ(line->purges, std::vector<uint32_t>{0x0F});
    const LineSettings& s = line->appliedSettings.at(0);
    EXPECT_EQ(s.baudRate, 9600u);
    EXPECT_EQ(s.byteSize, 8);
    EXPECT_EQ(s.parity, serial::Parity::None);
    EXPECT_EQ(s.stopBits, serial::StopBits::One);
    EXPECT_EQ(s.rtsControl, RtsControl::Disable);
    EXPECT_TRUE(comm.Polling());
    EXPECT_TRUE(WaitUntil([&] { return ticks() >= 3; }));
    EXPECT_TRUE(messages.texts().empty());

    comm.SetPortOpen(false);
    EXPECT_FALSE(line->open);
    EXPECT_FALSE(comm.PortOpen());
    EXPECT_FALSE(comm.Polling());
}

TEST_F(CommOnFake, RaisesDtrAtEveryOpenAndAppliesTheLastRtsState)
{
    comm.SetDTRStatus(false);
    comm.SetRTSStatus(true);
    EXPECT_TRUE(line->modemControls.empty()) << "nothing reaches a closed port";
    open();
    EXPECT_EQ(line->modemControls, (std::vector<ModemControl>{ModemControl::SetDtr, ModemControl::SetRts}));
    EXPECT_TRUE(comm.GetDTRStatus());

    comm.SetDTRStatus(false);
    comm.SetRTSStatus(false);
    EXPECT_FALSE(line->dtr) << "applied at once while open";
    comm.SetPortOpen(false);
    line->modemControls.clear();
    open();
    EXPECT_EQ(line->modemControls, (std::vector<ModemControl>{ModemControl::SetDtr, ModemControl::ClearRts}));
}

struct PortCase {
    TComPortNumber port;
    int com;
};

void PrintTo(const PortCase& c, std::ostream* os) { *os << "COM" << c.com; }

class CommPortNumber : public CommOnFake, public ::testing::WithParamInterface<PortCase> {};

TEST_P(CommPortNumber, OpensTheDeviceOfThatComNumber)
{
    comm.SetCommPort(GetParam().port);
    open();
    EXPECT_EQ(line->openedNames.back(), ComPortDeviceName(GetParam().com));
}

INSTANTIATE_TEST_SUITE_P(Ports, CommPortNumber,
                         ::testing::Values(PortCase{TComPortNumber::pnCOM1, 1}, PortCase{TComPortNumber::pnCOM3, 3},
                                           PortCase{TComPortNumber::pnCOM10, 10},
                                           PortCase{TComPortNumber::pnCOM16, 16}));

TEST_F(CommOnFake, ThePortChosenLastIsOpenedAtTheNextOpenOnly)
{
    comm.SetDevicePath("/dev/ttyUSB0");
    open();
    comm.SetCommPort(TComPortNumber::pnCOM3);
    EXPECT_EQ(line->openedNames, std::vector<std::string>{"/dev/ttyUSB0"}) << "no reopen while open";
    comm.SetPortOpen(false);
    open();
    comm.SetPortOpen(false);
    comm.SetDevicePath("/dev/ttyACM1");
    open();
    EXPECT_EQ(line->openedNames,
              (std::vector<std::string>{"/dev/ttyUSB0", ComPortDeviceName(3), "/dev/ttyACM1"}));
}

// --- line configuration ---

struct SettingCase {
    const char* name;
    std::function<void(TComm&)> change;
    std::function<void(const LineSettings&)> expect;
};

void PrintTo(const SettingCase& c, std::ostream* os) { *os << c.name; }

class CommSetting : public CommOnFake, public ::testing::WithParamInterface<SettingCase> {};

TEST_P(CommSetting, IsAppliedAtOnceWhileOpen)
{
    open();
    const std::size_t before = line->appliedSettings.size();
    GetParam().change(comm);
    ASSERT_EQ(line->appliedSettings.size(), before + 1);
    GetParam().expect(line->appliedSettings.back());
    GetParam().change(comm);
    EXPECT_EQ(line->appliedSettings.size(), before + 1) << "the same value again changes nothing";
}

TEST_P(CommSetting, WaitsForTheNextOpenWhileClosed)
{
    GetParam().change(comm);
    EXPECT_TRUE(line->appliedSettings.empty());
    open();
    ASSERT_EQ(line->appliedSettings.size(), 1u);
    GetParam().expect(line->appliedSettings.back());
}

INSTANTIATE_TEST_SUITE_P(
    Setters, CommSetting,
    ::testing::Values(
        SettingCase{"BaudRate", [](TComm& c) { c.SetBaudRate(115200); },
                    [](const LineSettings& s) { EXPECT_EQ(s.baudRate, 115200u); }},
        SettingCase{"DataBits", [](TComm& c) { c.SetDataBits(TDataBits::DB5); },
                    [](const LineSettings& s) { EXPECT_EQ(s.byteSize, 5); }},
        SettingCase{"StopBits", [](TComm& c) { c.SetStopBits(TStopBits::SB1_5); },
                    [](const LineSettings& s) { EXPECT_EQ(s.stopBits, serial::StopBits::OneAndHalf); }},
        SettingCase{"ParityMark", [](TComm& c) { c.SetParity(TParity::Mark); },
                    [](const LineSettings& s) {
                        EXPECT_EQ(s.parity, serial::Parity::Mark);
                        EXPECT_FALSE(s.parityCheck);
                    }},
        SettingCase{"RtsOn", [](TComm& c) { c.SetHwHandShaking(THwHandShaking::hhNoneRTSON); },
                    [](const LineSettings& s) { EXPECT_EQ(s.rtsControl, RtsControl::Enable); }},
        SettingCase{"RtsCts", [](TComm& c) { c.SetHwHandShaking(THwHandShaking::hhRTSCTS); },
                    [](const LineSettings& s) {
                        EXPECT_EQ(s.rtsControl, RtsControl::Handshake);
                        EXPECT_TRUE(s.ctsOutputFlow);
                    }},
        SettingCase{"XonXoff", [](TComm& c) { c.SetSwHandShaking(TSwHandShaking::shXonXoff); },
                    [](const LineSettings& s) { EXPECT_TRUE(s.xonXoffInput && s.xonXoffOutput); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommOnFake, LeavesTheDriversOtherFlowSettingsAsTheyAre)
{
    line->driverSettings.ctsOutputFlow = true;
    line->driverSettings.xonXoffOutput = true;
    line->driverSettings.parityCheck = true;
    open();
    const LineSettings& s = line->appliedSettings.back();
    EXPECT_EQ(s.rtsControl, RtsControl::Disable);
    EXPECT_TRUE(s.ctsOutputFlow);
    EXPECT_TRUE(s.xonXoffOutput);
    EXPECT_TRUE(s.parityCheck) << "kept while no parity is used";
}

// --- the tick ---

struct ThresholdCase {
    int32_t threshold;
    std::size_t waiting;
    bool fires;
};

void PrintTo(const ThresholdCase& c, std::ostream* os)
{
    *os << "threshold " << c.threshold << ", " << c.waiting << " waiting";
}

class CommThreshold : public CommOnFake, public ::testing::WithParamInterface<ThresholdCase> {};

TEST_P(CommThreshold, ReceiveEventFiresOnEveryTickThatFindsEnoughBytes)
{
    comm.SetRThreshold(GetParam().threshold);
    std::size_t events = 0;
    comm.OnReceiveData = [&](platform::TObject* sender) {
        EXPECT_EQ(sender, &comm);
        ++events;
    };
    open(); // the open discards what was queued before; no tick has run yet
    feed(GetParam().waiting);
    runTicks();
    EXPECT_EQ(events, GetParam().fires ? ticks() : 0u);
}

INSTANTIATE_TEST_SUITE_P(Thresholds, CommThreshold,
                         ::testing::Values(ThresholdCase{0, 5000, false}, ThresholdCase{-1, 10, false},
                                           ThresholdCase{1, 0, false}, ThresholdCase{1, 1, true},
                                           ThresholdCase{5, 4, false}, ThresholdCase{5, 5, true}));

TEST_F(CommOnFake, AReceiveHandlerGetsEveryByteOnce)
{
    comm.SetRThreshold(1);
    std::vector<uint8_t> received;
    comm.OnReceiveData = [&](platform::TObject*) {
        const auto bytes = comm.ReadInputByte();
        received.insert(received.end(), bytes.begin(), bytes.end());
    };
    open();
    feed(115, 1);
    ASSERT_TRUE(WaitUntil([&] { return received.size() >= 115; }));
    feed(3, 200);
    ASSERT_TRUE(WaitUntil([&] { return received.size() >= 118; }));
    runTicks(3);
    ASSERT_EQ(received.size(), 118u) << "no event without new bytes";
    EXPECT_EQ(received.front(), 1);
    EXPECT_EQ(received.back(), 202);
}

struct ModemCase {
    const char* name;
    uint32_t lines;
    uint32_t mask;
};

void PrintTo(const ModemCase& c, std::ostream* os) { *os << c.name; }

class CommModemLines : public CommOnFake, public ::testing::WithParamInterface<ModemCase> {};

TEST_P(CommModemLines, RaiseTheirMaskOnEveryTickWhileOn)
{
    line->modemLines = GetParam().lines;
    std::size_t events = 0;
    comm.OnModemStateChange = [&](platform::TObject* sender, uint32_t mask) {
        EXPECT_EQ(sender, &comm);
        EXPECT_EQ(mask, GetParam().mask);
        ++events;
    };
    open();
    runTicks();
    EXPECT_EQ(events, ticks());
    EXPECT_EQ(comm.ReadCommEvent(), GetParam().mask);
    EXPECT_EQ(comm.ReadCTSHolding(), bool(GetParam().lines & ModemCtsOn));
    EXPECT_EQ(comm.ReadDSRHolding(), bool(GetParam().lines & ModemDsrOn));
    EXPECT_EQ(comm.ReadRIHolding(), bool(GetParam().lines & ModemRingOn));
    EXPECT_EQ(comm.ReadCDHolding(), bool(GetParam().lines & ModemRlsdOn));

    // The mask survives closing; lines going off clear it and the events stop.
    line->modemLines = 0;
    open();
    runTicks();
    EXPECT_EQ(comm.ReadCommEvent(), 0u);
    EXPECT_FALSE(comm.ReadCTSHolding() || comm.ReadDSRHolding() || comm.ReadRIHolding() || comm.ReadCDHolding());
    const std::size_t afterOff = events;
    open();
    runTicks();
    EXPECT_EQ(events, afterOff);
}

INSTANTIATE_TEST_SUITE_P(Lines, CommModemLines,
                         ::testing::Values(ModemCase{"Cts", ModemCtsOn, 0x0008}, ModemCase{"Dsr", ModemDsrOn, 0x0010},
                                           ModemCase{"Carrier", ModemRlsdOn, 0x0020},
                                           ModemCase{"Ring", ModemRingOn, 0x0100},
                                           ModemCase{"CtsAndDsr", ModemCtsOn | ModemDsrOn, 0x0018},
                                           ModemCase{"All", ModemCtsOn | ModemDsrOn | ModemRingOn | ModemRlsdOn, 0x0138}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommOnFake, AFailedModemQueryChangesNothing)
{
    line->modemLines = ModemCtsOn;
    open();
    ASSERT_TRUE(WaitUntil([&] { return comm.ReadCTSHolding(); }));
    line->failing.insert(FakeCall::ModemStatus);
    line->modemLines = 0;
    runTicks();
    EXPECT_TRUE(comm.ReadCTSHolding());
    EXPECT_EQ(comm.ReadCommEvent(), uint32_t(EvCts));
}

TEST_F(CommOnFake, LineErrorsAreRaisedOnceByTheTickThatFoundThem)
{
    std::vector<uint32_t> raised;
    comm.OnReceiveError = [&](platform::TObject* sender, uint32_t mask) {
        EXPECT_EQ(sender, &comm);
        raised.push_back(mask);
    };
    open();
    line->pendingErrors = LineErrorFrame | LineErrorOverrun;
    ASSERT_TRUE(WaitUntil([&] { return !raised.empty(); }));
    runTicks();
    EXPECT_EQ(raised, std::vector<uint32_t>{LineErrorFrame | LineErrorOverrun});
    EXPECT_EQ(comm.ReadCommError(), 0u) << "the later ticks found none";
}

TEST_F(CommOnFake, AReadInTheReceiveHandlerReplacesTheTicksErrors)
{
    std::vector<uint32_t> raised;
    comm.OnReceiveError = [&](platform::TObject*, uint32_t mask) { raised.push_back(mask); };
    comm.SetRThreshold(1);
    int reads = 0;
    comm.OnReceiveData = [&](platform::TObject*) {
        // The first read's own query finds a new error, the second's none.
        if (reads++ == 0)
            line->pendingErrors = LineErrorParity;
        comm.ReadInputByte();
    };
    open();
    feed(1);
    line->pendingErrors = LineErrorBreak; // found by the first tick's query
    ASSERT_TRUE(WaitUntil([&] { return reads >= 1; }));
    feed(1);
    ASSERT_TRUE(WaitUntil([&] { return reads >= 2; }));
    runTicks();
    EXPECT_EQ(raised, std::vector<uint32_t>{LineErrorParity});
}

TEST_F(CommOnFake, AFailedStatusQueryMeansNothingWaitingAndNoError)
{
    comm.SetRThreshold(1);
    bool fired = false;
    comm.OnReceiveData = [&](platform::TObject*) { fired = true; };
    comm.OnReceiveError = [&](platform::TObject*, uint32_t) { fired = true; };
    open();
    feed(10);
    line->pendingErrors = LineErrorFrame;
    line->failing.insert(FakeCall::ClearError);
    runTicks();
    EXPECT_FALSE(fired);
    EXPECT_EQ(comm.ReadCommError(), 0u);
    EXPECT_EQ(comm.ReadInDataCount(), 0u);
}

TEST_F(CommOnFake, AnExceptionInAHandlerIsReportedAndPollingGoesOn)
{
    comm.SetRThreshold(1);
    int calls = 0;
    comm.OnReceiveData = [&](platform::TObject*) {
        ++calls;
        throw platform::EConvertError("'x' is not a valid integer value");
    };
    open();
    feed(1);
    ASSERT_TRUE(WaitUntil([&] { return calls >= 2; }));
    comm.SetPortOpen(false);
    ASSERT_FALSE(messages.messages().empty());
    EXPECT_EQ(messages.messages()[0].text, "'x' is not a valid integer value.");
    EXPECT_EQ(messages.messages()[0].icon, platform::MessageIcon::Error);
}

TEST_F(CommOnFake, AHandlerThatClosesThePortEndsTheTickQuietly)
{
    comm.SetRThreshold(1);
    comm.OnReceiveData = [&](platform::TObject*) { comm.SetPortOpen(false); };
    open();
    feed(1);
    ASSERT_TRUE(WaitUntil([&] { return !comm.PortOpen(); }));
    EXPECT_TRUE(messages.texts().empty());
}

// --- reading ---

TEST_F(CommOnFake, AReadWithNothingWaitingReturnsThePreviousBytesAgain)
{
    open();
    EXPECT_TRUE(comm.ReadInputByte().empty());
    line->input = {0x55, 0x00, 0xBB};
    EXPECT_EQ(comm.ReadInputByte(), (std::vector<uint8_t>{0x55, 0x00, 0xBB}));
    EXPECT_EQ(comm.ReadInputByte(), (std::vector<uint8_t>{0x55, 0x00, 0xBB}));
    EXPECT_EQ(comm.ReadInputData(), std::string("\x55\x00\xBB", 3));
    line->failing.insert(FakeCall::Read);
    line->input = {1};
    EXPECT_EQ(comm.ReadInputByte(), (std::vector<uint8_t>{0x55, 0x00, 0xBB})) << "a failed read changes nothing";
}

TEST_F(CommOnFake, MoreThanTheBufferWaitingIsDiscardedAndThePreviousBytesStay)
{
    open();
    line->input = {9};
    comm.ReadInputByte();
    feed(TComm::ReceiveBufferSize + 1);
    EXPECT_EQ(comm.ReadInputByte(), std::vector<uint8_t>{9});
    EXPECT_TRUE(line->input.empty());
    EXPECT_EQ(line->purges.back(), uint32_t(PurgeRxClear));

    feed(TComm::ReceiveBufferSize);
    EXPECT_EQ(comm.ReadInputByte().size(), TComm::ReceiveBufferSize) << "a full buffer is still read";
}

struct InputLenCase {
    const char* name;
    int32_t inputLen;
    std::size_t waiting;
    std::optional<uint32_t> readLimit;
    std::size_t stored;
};

void PrintTo(const InputLenCase& c, std::ostream* os) { *os << c.name; }

class CommReadLength : public CommOnFake, public ::testing::WithParamInterface<InputLenCase> {};

TEST_P(CommReadLength, NeverAsksBeyondTheBufferAndStoresOnlyWhatCame)
{
    open();
    comm.InputLen = GetParam().inputLen;
    line->readLimit = GetParam().readLimit;
    feed(GetParam().waiting, 1);
    const auto bytes = comm.ReadInputByte();
    ASSERT_EQ(bytes.size(), GetParam().stored);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        ASSERT_EQ(bytes[i], static_cast<uint8_t>(1 + i));
    EXPECT_EQ(comm.ReadInputData().size(), GetParam().stored);
    for (const uint32_t asked : line->readRequests)
        EXPECT_LE(asked, TComm::ReceiveBufferSize);
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, CommReadLength,
    ::testing::Values(InputLenCase{"AllWaiting", 0, 100, std::nullopt, 100},
                      InputLenCase{"FewerThanWaiting", 2, 5, std::nullopt, 2},
                      InputLenCase{"MoreThanWaiting", 50, 5, std::nullopt, 5},
                      InputLenCase{"MoreThanTheBuffer", 10000, 300, std::nullopt, 300},
                      InputLenCase{"Negative", -1, 7, std::nullopt, 7},
                      InputLenCase{"ShortRead", 0, 10, 4u, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommOnFake, OnlyAReadStoresTheErrorFlags)
{
    open();
    line->pendingErrors = LineErrorFrame;
    line->input = {1, 2};
    EXPECT_EQ(comm.ReadInDataCount(), 2u);
    EXPECT_EQ(comm.ReadCommError(), 0u);
    line->pendingErrors = LineErrorParity;
    comm.ReadInputByte();
    EXPECT_EQ(comm.ReadCommError(), uint32_t(LineErrorParity));
    line->input = {3};
    comm.SetInDataCount(1);
    EXPECT_EQ(comm.ReadInDataCount(), 1u);
    comm.SetInDataCount(0);
    EXPECT_EQ(comm.ReadInDataCount(), 0u);
}

// --- writing ---

TEST_F(CommOnFake, OutputStringWritesOnceAndReportsTheResult)
{
    open();
    EXPECT_TRUE(comm.OutputString(std::string("1\0x", 3)));
    EXPECT_EQ(line->writes, (std::vector<std::vector<uint8_t>>{{'1', 0, 'x'}}));
    line->failing.insert(FakeCall::Write);
    EXPECT_FALSE(comm.OutputString("2"));
}

TEST_F(CommOnFake, OutputByteWritesEachByteAloneInOrderAndIgnoresFailures)
{
    open();
    EXPECT_TRUE(comm.OutputByte({0x55, 0x10, 0x00, 0x2A}));
    EXPECT_EQ(line->writes, (std::vector<std::vector<uint8_t>>{{0x55}, {0x10}, {0x00}, {0x2A}}));
    EXPECT_TRUE(comm.OutputByte({}));
    EXPECT_EQ(line->writes.size(), 4u);
    line->failing.insert(FakeCall::Write);
    EXPECT_TRUE(comm.OutputByte({1, 2}));
    EXPECT_EQ(line->count(FakeCall::Write), 6u);
}

// --- messages ---

struct MessageCase {
    const char* name;
    std::function<void(TComm&, FakeLine&)> act;
    std::vector<std::string> texts;
    bool openAfter;
};

void PrintTo(const MessageCase& c, std::ostream* os) { *os << c.name; }

class CommMessage : public CommOnFake, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(CommMessage, ShowsItsTextAndLeavesThePortAsDocumented)
{
    GetParam().act(comm, *line);
    EXPECT_EQ(messages.texts(), GetParam().texts);
    EXPECT_EQ(comm.PortOpen(), GetParam().openAfter);
    EXPECT_EQ(comm.Polling(), GetParam().openAfter);
    if (GetParam().openAfter) {
        const std::size_t until = ticks() + 3;
        EXPECT_TRUE(WaitUntil([&] { return ticks() >= until; })) << "polling goes on";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Messages, CommMessage,
    ::testing::Values(
        MessageCase{"OpenFails",
                    [](TComm& c, FakeLine& l) {
                        l.failing.insert(FakeCall::Open);
                        c.SetPortOpen(true);
                        EXPECT_FALSE(l.count(FakeCall::SetupQueues)) << "no further calls on a port that is not there";
                    },
                    {"Error opening serial port"}, false},
        MessageCase{"OpenFailsWithAReason",
                    [](TComm& c, FakeLine& l) {
                        l.failing.insert(FakeCall::Open);
                        l.failText = "/dev/ttyS0: Permission denied";
                        c.SetPortOpen(true);
                    },
                    {"Error opening serial port\n/dev/ttyS0: Permission denied"}, false},
        MessageCase{"QueueSetupFails",
                    [](TComm& c, FakeLine& l) {
                        l.failing.insert(FakeCall::SetupQueues);
                        c.SetPortOpen(true);
                    },
                    {"Cannot setup comm buffer"}, true},
        MessageCase{"SecondOpen",
                    [](TComm& c, FakeLine& l) {
                        c.SetPortOpen(true);
                        c.SetPortOpen(true);
                        EXPECT_EQ(l.count(FakeCall::Open), 1u);
                    },
                    {"COM Port has been opened!"}, true},
        MessageCase{"ReadWhileClosed",
                    [](TComm& c, FakeLine&) { EXPECT_TRUE(c.ReadInputByte().empty()); },
                    {"COM Port is not opened yet!"}, false},
        MessageCase{"InputWhileClosed",
                    [](TComm& c, FakeLine&) { EXPECT_TRUE(c.ReadInputData().empty()); },
                    {"COM Port is not opened yet!"}, false},
        MessageCase{"WritesWhileClosed",
                    [](TComm& c, FakeLine& l) {
                        EXPECT_FALSE(c.OutputString("x"));
                        EXPECT_FALSE(c.OutputByte({1}));
                        EXPECT_TRUE(l.writes.empty());
                    },
                    {"COM Port is not opened yet!", "COM Port is not opened yet!"}, false},
        MessageCase{"CloseWhileClosed", [](TComm& c, FakeLine&) { c.SetPortOpen(false); }, {}, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommLifetime, DestroyingTheComponentLeavesAnOpenPortOpen)
{
    auto line = std::make_shared<FakeLine>();
    {
        TComm comm(nullptr, FakeDeviceFactory(line));
        comm.SetPortOpen(true);
    }
    EXPECT_TRUE(line->open);
    EXPECT_EQ(line->count(FakeCall::Close), 0u);
}

TEST_F(CommOnFake, ANewDeviceFactoryClosesThePortAndServesTheNextOpen)
{
    open();
    auto other = std::make_shared<FakeLine>();
    comm.SetDeviceFactory(FakeDeviceFactory(other));
    EXPECT_FALSE(line->open);
    EXPECT_FALSE(comm.PortOpen());
    EXPECT_FALSE(comm.Polling());
    open();
    EXPECT_TRUE(other->open);
    EXPECT_EQ(line->count(FakeCall::Open), 1u);
}

TEST(CommLifetime, IsFreedWithItsOwner)
{
    auto line = std::make_shared<FakeLine>();
    auto* owner = new QObject;
    QPointer<TComm> comm = new TComm(owner, FakeDeviceFactory(line));
    delete owner;
    EXPECT_TRUE(comm.isNull());
}

} // namespace
