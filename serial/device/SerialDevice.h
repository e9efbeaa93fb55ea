#pragma once
// The device layer: the one place that talks to the operating system's serial
// ports (termios on POSIX, the communications API on Windows). The components
// above it (the console's TComm, the uploader's TVaComm) see only this interface,
// shaped after the platform calls they were designed around, so that a fake
// device can stand in for what a pseudo-terminal cannot show.
#include <cstdint>
#include <memory>
#include <string>

namespace serial {

// Purge flags, with the platform's values.
enum PurgeFlags : uint32_t {
    PurgeTxAbort = 0x01,
    PurgeRxAbort = 0x02,
    PurgeTxClear = 0x04,
    PurgeRxClear = 0x08,
};

// Line error flags as the status query reports them.
enum LineErrorFlags : uint32_t {
    LineErrorRxOver = 0x0001,  // input queue overflow
    LineErrorOverrun = 0x0002, // hardware overrun
    LineErrorParity = 0x0004,
    LineErrorFrame = 0x0008,
    LineErrorBreak = 0x0010,
};

// Modem status bits.
enum ModemStatusBits : uint32_t {
    ModemCtsOn = 0x0010,
    ModemDsrOn = 0x0020,
    ModemRingOn = 0x0040,
    ModemRlsdOn = 0x0080,
};

enum class ModemControl { SetRts = 3, ClearRts = 4, SetDtr = 5, ClearDtr = 6 };

enum class Parity : uint8_t { None = 0, Odd = 1, Even = 2, Mark = 3, Space = 4 };
enum class StopBits : uint8_t { One = 0, OneAndHalf = 1, Two = 2 };
enum class RtsControl : uint8_t { Disable = 0, Enable = 1, Handshake = 2 };

// The line settings a component reads, changes and writes back. Fields it does not
// name keep the driver's values, because the device keeps them itself.
struct LineSettings {
    uint32_t baudRate = 9600;
    uint8_t byteSize = 8; // 5 to 8
    Parity parity = Parity::None;
    bool parityCheck = false; // check received parity
    StopBits stopBits = StopBits::One;
    RtsControl rtsControl = RtsControl::Disable;
    bool ctsOutputFlow = false; // hold output while CTS is off
    bool xonXoffOutput = false;
    bool xonXoffInput = false;
};

// What waiting for input ended with.
enum class WaitResult { Readable, TimedOut, Interrupted, Gone };

class SerialDevice {
public:
    virtual ~SerialDevice() = default;

    // Opens a device by its system name, read/write, exclusively, without making it
    // the controlling terminal. Any previous device is closed first.
    virtual bool open(const std::string& deviceName) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // The system's error of the last failed call, and its text.
    virtual int lastError() const = 0;
    virtual std::string lastErrorText() const = 0;

    virtual bool setupQueues(uint32_t inputSize, uint32_t outputSize) = 0;
    virtual bool purge(uint32_t purgeFlags) = 0;
    virtual bool getLineSettings(LineSettings& settings) = 0;
    virtual bool setLineSettings(const LineSettings& settings) = 0;
    virtual bool setModemControl(ModemControl control) = 0;

    // The line errors flagged since the previous call (the call clears them) and
    // the number of bytes waiting in the input queue.
    virtual bool clearError(uint32_t& errorFlags, uint32_t& inputQueued) = 0;
    virtual bool modemStatus(uint32_t& statusBits) = 0;

    // Reads at most count bytes that are already waiting; never blocks.
    virtual bool read(uint8_t* buffer, uint32_t count, uint32_t& bytesRead) = 0;
    // Writes all bytes, waiting while the output queue is full. Gives up when the
    // line takes nothing for a while (flow control held, nobody reading), so a
    // stuck line never freezes the caller: false, bytesWritten says how many went.
    virtual bool write(const uint8_t* data, uint32_t length, uint32_t& bytesWritten) = 0;

    // Blocks until input is waiting, the time-out passes (negative: no limit),
    // interruptWait() is called from another thread, or the device vanishes
    // (unplugged, or never opened): Gone, so that a reader loop ends instead of
    // spinning. A reader thread may wait and read while another thread writes;
    // open and close belong to the owner, after the reader has stopped.
    virtual WaitResult waitForInput(int timeoutMs) = 0;
    // Ends the current wait, or the next one if none is in progress, so that a
    // wake-up sent just before the reader starts waiting is not lost.
    virtual void interruptWait() = 0;
};

// The real device of this system (termios or Win32).
std::unique_ptr<SerialDevice> CreateSystemDevice();

// The system name of port COMn (n from 1): "\\.\COMn" on Windows, /dev/ttyS(n-1) elsewhere.
std::string ComPortDeviceName(int n);

} // namespace serial
