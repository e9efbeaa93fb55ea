#ifdef _WIN32
#include "WinSerialDevice.h"

#include <chrono>
#include <thread>

namespace serial {
namespace {

// How long a write may wait for the line before it gives up, so that a port
// held by flow control never freezes the caller.
constexpr DWORD kWriteTimeoutConstantMs = 2000;
constexpr DWORD kWriteTimeoutPerByteMs = 1;
// The wait loop's poll period: short against a 10 ms tick, long enough to stay idle.
constexpr auto kWaitPollPeriod = std::chrono::milliseconds(2);

void ToDcb(DCB& dcb, const LineSettings& s)
{
    dcb.BaudRate = s.baudRate;
    dcb.fBinary = 1;
    dcb.ByteSize = s.byteSize;
    dcb.Parity = static_cast<BYTE>(s.parity);
    dcb.fParity = s.parityCheck ? 1 : 0;
    dcb.StopBits = static_cast<BYTE>(s.stopBits);
    dcb.fRtsControl = static_cast<DWORD>(s.rtsControl);
    dcb.fOutxCtsFlow = s.ctsOutputFlow ? 1 : 0;
    dcb.fOutX = s.xonXoffOutput ? 1 : 0;
    dcb.fInX = s.xonXoffInput ? 1 : 0;
}

LineSettings FromDcb(const DCB& dcb)
{
    LineSettings s;
    s.baudRate = dcb.BaudRate;
    s.byteSize = dcb.ByteSize;
    s.parity = static_cast<Parity>(dcb.Parity);
    s.parityCheck = dcb.fParity;
    s.stopBits = static_cast<StopBits>(dcb.StopBits);
    s.rtsControl = static_cast<RtsControl>(dcb.fRtsControl > 2 ? 0 : dcb.fRtsControl);
    s.ctsOutputFlow = dcb.fOutxCtsFlow;
    s.xonXoffOutput = dcb.fOutX;
    s.xonXoffInput = dcb.fInX;
    return s;
}

DWORD EscapeCodeOf(ModemControl control)
{
    switch (control) {
    case ModemControl::SetRts: return SETRTS;
    case ModemControl::ClearRts: return CLRRTS;
    case ModemControl::SetDtr: return SETDTR;
    case ModemControl::ClearDtr: return CLRDTR;
    }
    return 0;
}

} // namespace

WinSerialDevice::~WinSerialDevice() { close(); }

bool WinSerialDevice::fail()
{
    lastError_ = GetLastError();
    return false;
}

bool WinSerialDevice::failIfClosed()
{
    if (isOpen())
        return true;
    lastError_ = ERROR_INVALID_HANDLE;
    return false;
}

std::string WinSerialDevice::lastErrorText() const
{
    char text[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        lastError_, 0, text, sizeof text, nullptr);
    std::string result(text, length);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r'))
        result.pop_back();
    return result;
}

bool WinSerialDevice::open(const std::string& deviceName)
{
    close();
    HANDLE h = CreateFileA(deviceName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return fail();
    // Reads hand out what is queued at once; writes give up after a while.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutMultiplier = kWriteTimeoutPerByteMs;
    timeouts.WriteTotalTimeoutConstant = kWriteTimeoutConstantMs;
    if (!SetCommTimeouts(h, &timeouts)) {
        fail();
        CloseHandle(h);
        return false;
    }
    handle_ = h;
    interrupted_ = false;
    return true;
}

void WinSerialDevice::close()
{
    if (!isOpen())
        return;
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}

bool WinSerialDevice::setupQueues(uint32_t inputSize, uint32_t outputSize)
{
    if (!failIfClosed())
        return false;
    return SetupComm(handle_, inputSize, outputSize) ? true : fail();
}

bool WinSerialDevice::purge(uint32_t purgeFlags)
{
    if (!failIfClosed())
        return false;
    return PurgeComm(handle_, purgeFlags) ? true : fail();
}

bool WinSerialDevice::getLineSettings(LineSettings& settings)
{
    if (!failIfClosed())
        return false;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle_, &dcb))
        return fail();
    settings = FromDcb(dcb);
    return true;
}

bool WinSerialDevice::setLineSettings(const LineSettings& settings)
{
    if (!failIfClosed())
        return false;
    // Read back first so that the fields the settings do not name (XON/XOFF
    // characters and limits, DTR control, DSR flow) keep the driver's values.
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(handle_, &dcb))
        return fail();
    ToDcb(dcb, settings);
    return SetCommState(handle_, &dcb) ? true : fail();
}

bool WinSerialDevice::setModemControl(ModemControl control)
{
    if (!failIfClosed())
        return false;
    return EscapeCommFunction(handle_, EscapeCodeOf(control)) ? true : fail();
}

bool WinSerialDevice::clearError(uint32_t& errorFlags, uint32_t& inputQueued)
{
    if (!failIfClosed())
        return false;
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(handle_, &errors, &status))
        return fail();
    errorFlags = errors;
    inputQueued = status.cbInQue;
    return true;
}

bool WinSerialDevice::modemStatus(uint32_t& statusBits)
{
    if (!failIfClosed())
        return false;
    DWORD status = 0;
    if (!GetCommModemStatus(handle_, &status))
        return fail();
    statusBits = status;
    return true;
}

bool WinSerialDevice::read(uint8_t* buffer, uint32_t count, uint32_t& bytesRead)
{
    bytesRead = 0;
    if (!failIfClosed())
        return false;
    DWORD got = 0;
    if (!ReadFile(handle_, buffer, count, &got, nullptr))
        return fail();
    bytesRead = got;
    return true;
}

bool WinSerialDevice::write(const uint8_t* data, uint32_t length, uint32_t& bytesWritten)
{
    bytesWritten = 0;
    if (!failIfClosed())
        return false;
    DWORD sent = 0;
    const BOOL ok = WriteFile(handle_, data, length, &sent, nullptr);
    bytesWritten = sent;
    if (!ok)
        return fail();
    if (sent < length) {
        lastError_ = ERROR_TIMEOUT;
        return false;
    }
    return true;
}

WaitResult WinSerialDevice::waitForInput(int timeoutMs)
{
    // A short poll of the queue count: simple, and the handle stays synchronous
    // as the components expect; a vanished adapter makes ClearCommError fail.
    // The line-error flags this query clears are lost to the caller: the
    // threaded reader that waits here has no use for them.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        if (interrupted_.exchange(false))
            return WaitResult::Interrupted;
        uint32_t errors = 0;
        uint32_t queued = 0;
        if (!clearError(errors, queued))
            return WaitResult::Gone;
        if (queued > 0)
            return WaitResult::Readable;
        if (timeoutMs >= 0 && std::chrono::steady_clock::now() >= deadline)
            return WaitResult::TimedOut;
        std::this_thread::sleep_for(kWaitPollPeriod);
    }
}

std::unique_ptr<SerialDevice> CreateSystemDevice() { return std::make_unique<WinSerialDevice>(); }

} // namespace serial
#endif
