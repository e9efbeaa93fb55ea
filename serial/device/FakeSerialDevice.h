#pragma once
// A scriptable serial device for what a pseudo-terminal cannot show: line
// errors, modem lines, more than 4096 bytes waiting, failing calls. Its state
// lives in a FakeLine that the test shares, so the test can script it and read
// the record of calls even after the component has let go of the device.
#include "SerialDevice.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace serial {

enum class FakeCall {
    Open, Close, SetupQueues, Purge, GetLineSettings, SetLineSettings, SetModemControl,
    ClearError, ModemStatus, Read, Write, WaitForInput,
};

struct FakeLine {
    // --- the script ---
    std::set<FakeCall> failing;           // these calls fail (and are still recorded)
    int failError = 5;                    // the error a failing call leaves (EIO)
    std::string failText;                 // its text; empty: the device gives no reason
    std::deque<uint8_t> input;            // bytes waiting to be read, any number
    std::optional<uint32_t> readLimit;    // a read hands out at most this many
    uint32_t pendingErrors = 0;           // line-error flags for the next clearError, which clears them
    uint32_t modemLines = 0;              // ModemStatusBits that are on
    bool gone = false;                    // the device vanished: waits report Gone
    LineSettings driverSettings;          // what the driver holds; setLineSettings replaces it

    // --- the record ---
    bool open = false;
    std::vector<FakeCall> calls;
    std::vector<std::string> openedNames;
    std::vector<uint32_t> purges;
    std::vector<uint32_t> readRequests;       // the count each read asked for
    std::vector<LineSettings> appliedSettings;
    std::vector<ModemControl> modemControls;
    std::vector<std::vector<uint8_t>> writes; // one entry per successful write call
    bool dtr = false;
    bool rts = false;

    // A test that feeds bytes from another thread while a reader waits uses
    // these; single-threaded tests may set the fields directly.
    void feed(const std::vector<uint8_t>& bytes);
    void vanish();
    std::size_t count(FakeCall call) const;
    std::vector<uint8_t> written() const; // every written byte, in order

    mutable std::mutex mutex;
    std::condition_variable changed;
    bool interrupted = false;
};

class FakeSerialDevice final : public SerialDevice {
public:
    explicit FakeSerialDevice(std::shared_ptr<FakeLine> line = std::make_shared<FakeLine>());

    const std::shared_ptr<FakeLine>& line() const { return line_; }

    bool open(const std::string& deviceName) override;
    void close() override;
    bool isOpen() const override;
    int lastError() const override;
    std::string lastErrorText() const override;

    bool setupQueues(uint32_t inputSize, uint32_t outputSize) override;
    bool purge(uint32_t purgeFlags) override;
    bool getLineSettings(LineSettings& settings) override;
    bool setLineSettings(const LineSettings& settings) override;
    bool setModemControl(ModemControl control) override;
    bool clearError(uint32_t& errorFlags, uint32_t& inputQueued) override;
    bool modemStatus(uint32_t& statusBits) override;
    bool read(uint8_t* buffer, uint32_t count, uint32_t& bytesRead) override;
    bool write(const uint8_t* data, uint32_t length, uint32_t& bytesWritten) override;
    WaitResult waitForInput(int timeoutMs) override;
    void interruptWait() override;

private:
    // Records the call; false when the script makes it fail (or the device is closed).
    bool enter(FakeCall call, bool needsOpen = true);

    std::shared_ptr<FakeLine> line_;
    int lastError_ = 0;
};

// A factory for components that take one: every device it makes shares the line.
inline auto FakeDeviceFactory(std::shared_ptr<FakeLine> line)
{
    return [line]() -> std::unique_ptr<SerialDevice> { return std::make_unique<FakeSerialDevice>(line); };
}

} // namespace serial
