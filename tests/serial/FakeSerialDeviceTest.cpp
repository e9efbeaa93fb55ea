// The fake's waits behave like the real device's, so reader threads can be
// tested against it: bytes fed from another thread wake the reader, an
// interrupt is never lost, a vanished device ends the reader.
#include "FakeSerialDevice.h"

#include <gtest/gtest.h>

#include <future>

using namespace serial;

TEST(FakeSerialDevice, WaitsWakeOnFeedInterruptAndVanish)
{
    auto line = std::make_shared<FakeLine>();
    FakeSerialDevice device(line);
    ASSERT_TRUE(device.open("COM1"));

    auto waiting = std::async(std::launch::async, [&] { return device.waitForInput(-1); });
    line->feed({1, 2});
    EXPECT_EQ(waiting.get(), WaitResult::Readable);
    uint8_t buffer[4];
    uint32_t n = 0;
    ASSERT_TRUE(device.read(buffer, 4, n));
    EXPECT_EQ(n, 2u);

    device.interruptWait();
    EXPECT_EQ(device.waitForInput(-1), WaitResult::Interrupted);
    EXPECT_EQ(device.waitForInput(0), WaitResult::TimedOut);

    waiting = std::async(std::launch::async, [&] { return device.waitForInput(-1); });
    line->vanish();
    EXPECT_EQ(waiting.get(), WaitResult::Gone);
}

TEST(FakeSerialDevice, ScriptedFailuresAreRecordedAndLeaveTheirError)
{
    auto line = std::make_shared<FakeLine>();
    line->failing = {FakeCall::Open};
    line->failError = 2;
    line->failText = "No such file or directory";
    FakeSerialDevice device(line);
    EXPECT_FALSE(device.open("/dev/ttyUSB0"));
    EXPECT_EQ(device.lastError(), 2);
    EXPECT_EQ(device.lastErrorText(), "No such file or directory");
    EXPECT_EQ(line->openedNames, std::vector<std::string>{"/dev/ttyUSB0"});
    uint32_t a = 0, b = 0;
    EXPECT_FALSE(device.clearError(a, b)) << "a device that never opened refuses calls";
    EXPECT_EQ(line->count(FakeCall::ClearError), 1u);
}
