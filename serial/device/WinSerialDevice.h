#pragma once
// The serial device on the Win32 communications API.
#ifdef _WIN32
#include "SerialDevice.h"

#include <atomic>

#include <windows.h>

namespace serial {

class WinSerialDevice final : public SerialDevice {
public:
    WinSerialDevice() = default;
    ~WinSerialDevice() override;
    WinSerialDevice(const WinSerialDevice&) = delete;
    WinSerialDevice& operator=(const WinSerialDevice&) = delete;

    bool open(const std::string& deviceName) override;
    void close() override;
    bool isOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }
    int lastError() const override { return static_cast<int>(lastError_.load()); }
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
    void interruptWait() override { interrupted_ = true; }

private:
    bool fail();
    bool failIfClosed();

    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::atomic<DWORD> lastError_{0};
    std::atomic<bool> interrupted_{false};
};

} // namespace serial
#endif
