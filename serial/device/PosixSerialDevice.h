#pragma once
// The serial device on a POSIX terminal interface (termios and the tty ioctls).
#include "LineErrorCounters.h"
#include "SerialDevice.h"

#include <atomic>
#include <mutex>

namespace serial {

class PosixSerialDevice final : public SerialDevice {
public:
    PosixSerialDevice();
    ~PosixSerialDevice() override;
    PosixSerialDevice(const PosixSerialDevice&) = delete;
    PosixSerialDevice& operator=(const PosixSerialDevice&) = delete;

    bool open(const std::string& deviceName) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }
    int lastError() const override { return lastError_; }
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

    // How long a write waits for the line to take at least one more byte.
    void setWriteStallTimeout(int milliseconds) { writeStallTimeoutMs_ = milliseconds; }

private:
    bool fail(int error);
    bool failIfClosed();
    bool waitUntilWritable(int timeoutMs);
    uint32_t lineErrorsSinceLastQuery();
    void drainWakeups();

    int fd_ = -1;
    int wakeRead_ = -1; // a self-pipe: interruptWait writes, waitForInput polls it
    int wakeWrite_ = -1;
    std::atomic<int> lastError_{0};
    std::string deviceName_;
    std::string openFailure_; // the advice for the last failed open, if any
    bool countersKept_ = false;
    std::mutex countersMutex_; // a reader thread and the owner may both query
    LineErrorCounters counters_;
    int writeStallTimeoutMs_ = 2000;
};

} // namespace serial
