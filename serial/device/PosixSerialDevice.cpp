#include "PosixSerialDevice.h"

#include "ArbitrarySpeed.h"
#include "ModemLines.h"
#include "OpenFailureText.h"
#include "TermiosLineSettings.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace serial {
namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until a deadline, for poll; -1 (no limit) stays -1.
int RemainingMs(bool unlimited, Clock::time_point deadline)
{
    if (unlimited)
        return -1;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

} // namespace

PosixSerialDevice::PosixSerialDevice()
{
    int ends[2];
    if (pipe2(ends, O_NONBLOCK | O_CLOEXEC) == 0) {
        wakeRead_ = ends[0];
        wakeWrite_ = ends[1];
    }
}

PosixSerialDevice::~PosixSerialDevice()
{
    close();
    if (wakeRead_ >= 0)
        ::close(wakeRead_);
    if (wakeWrite_ >= 0)
        ::close(wakeWrite_);
}

bool PosixSerialDevice::fail(int error)
{
    lastError_ = error;
    return false;
}

bool PosixSerialDevice::failIfClosed() { return fd_ < 0 ? fail(EBADF) : true; }

std::string PosixSerialDevice::lastErrorText() const
{
    if (!isOpen() && !openFailure_.empty())
        return openFailure_;
    return std::strerror(lastError_);
}

bool PosixSerialDevice::open(const std::string& deviceName)
{
    close();
    openFailure_.clear();
    // Non-blocking: neither the open (a modem port waiting for carrier) nor any
    // read may wait; writes wait in poll instead, with a limit.
    const int fd = ::open(deviceName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        openFailure_ = DescribeOpenFailure(deviceName, error);
        return fail(error);
    }
    termios t{};
    if (tcgetattr(fd, &t) != 0) {
        // Not a terminal (a plain file, /dev/null): no port to talk to.
        const int error = errno;
        ::close(fd);
        openFailure_ = DescribeOpenFailure(deviceName, error);
        return fail(error);
    }
    // Exclusive: a second program opening the port would steal bytes. Some
    // drivers refuse the request; the port is still usable then.
    ioctl(fd, TIOCEXCL);
    MakeRaw(t);
    if (tcsetattr(fd, TCSANOW, &t) != 0) {
        const int error = errno;
        ioctl(fd, TIOCNXCL);
        ::close(fd);
        openFailure_ = DescribeOpenFailure(deviceName, error);
        return fail(error);
    }
    fd_ = fd;
    deviceName_ = deviceName;
    countersKept_ = ReadLineErrorCounters(fd_, counters_);
    drainWakeups();
    return true;
}

void PosixSerialDevice::close()
{
    if (fd_ < 0)
        return;
    // The exclusive mark belongs to the tty, not to this descriptor: clear it,
    // or whoever else still holds the tty open would keep us out next time.
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    deviceName_.clear();
}

bool PosixSerialDevice::setupQueues(uint32_t, uint32_t)
{
    // The tty layer sizes its own buffers; there is nothing to ask for.
    return failIfClosed();
}

bool PosixSerialDevice::purge(uint32_t purgeFlags)
{
    if (!failIfClosed())
        return false;
    const bool input = purgeFlags & (PurgeRxAbort | PurgeRxClear);
    const bool output = purgeFlags & (PurgeTxAbort | PurgeTxClear);
    if (!input && !output)
        return true;
    const int queue = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
    return tcflush(fd_, queue) == 0 ? true : fail(errno);
}

bool PosixSerialDevice::getLineSettings(LineSettings& settings)
{
    if (!failIfClosed())
        return false;
    termios t{};
    if (tcgetattr(fd_, &t) != 0)
        return fail(errno);
    settings = LineSettingsOf(t);
    if (settings.baudRate == 0)
        ReadArbitrarySpeed(fd_, settings.baudRate);
    return true;
}

bool PosixSerialDevice::setLineSettings(const LineSettings& settings)
{
    if (!failIfClosed())
        return false;
    termios t{};
    if (tcgetattr(fd_, &t) != 0)
        return fail(errno);
    const bool standardSpeed = ApplyLineSettings(t, settings);
    if (tcsetattr(fd_, TCSANOW, &t) != 0)
        return fail(errno);
    if (!standardSpeed && !SetArbitrarySpeed(fd_, settings.baudRate))
        return fail(errno == 0 ? EINVAL : errno);
    // "RTS held on" is a line state, not a termios flag.
    if (settings.rtsControl == RtsControl::Enable) {
        const int rts = TIOCM_RTS;
        ioctl(fd_, TIOCMBIS, &rts);
    }
    return true;
}

bool PosixSerialDevice::setModemControl(ModemControl control)
{
    if (!failIfClosed())
        return false;
    const ModemLineChange change = ModemLineChangeOf(control);
    return ioctl(fd_, change.raise ? TIOCMBIS : TIOCMBIC, &change.ttyLine) == 0 ? true : fail(errno);
}

uint32_t PosixSerialDevice::lineErrorsSinceLastQuery()
{
    if (!countersKept_)
        return 0;
    std::lock_guard lock(countersMutex_);
    LineErrorCounters now;
    if (!ReadLineErrorCounters(fd_, now))
        return 0;
    const uint32_t flags = LineErrorFlagsBetween(counters_, now);
    counters_ = now;
    return flags;
}

bool PosixSerialDevice::clearError(uint32_t& errorFlags, uint32_t& inputQueued)
{
    if (!failIfClosed())
        return false;
    int queued = 0;
    if (ioctl(fd_, FIONREAD, &queued) != 0)
        return fail(errno);
    inputQueued = static_cast<uint32_t>(queued);
    errorFlags = lineErrorsSinceLastQuery();
    return true;
}

bool PosixSerialDevice::modemStatus(uint32_t& statusBits)
{
    if (!failIfClosed())
        return false;
    int lines = 0;
    if (ioctl(fd_, TIOCMGET, &lines) != 0)
        return fail(errno); // a pseudo-terminal has no modem lines: ENOTTY
    statusBits = ModemStatusOf(lines);
    return true;
}

bool PosixSerialDevice::read(uint8_t* buffer, uint32_t count, uint32_t& bytesRead)
{
    bytesRead = 0;
    if (!failIfClosed())
        return false;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, count);
        if (n >= 0) {
            bytesRead = static_cast<uint32_t>(n);
            return true;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return true; // nothing waiting is not a failure
        if (errno != EINTR)
            return fail(errno);
    }
}

bool PosixSerialDevice::waitUntilWritable(int timeoutMs)
{
    pollfd p{fd_, POLLOUT, 0};
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const int ready = poll(&p, 1, RemainingMs(false, deadline));
        if (ready > 0)
            return (p.revents & (POLLERR | POLLHUP | POLLNVAL)) ? fail(EIO) : true;
        if (ready == 0)
            return fail(ETIMEDOUT);
        if (errno != EINTR)
            return fail(errno);
    }
}

bool PosixSerialDevice::write(const uint8_t* data, uint32_t length, uint32_t& bytesWritten)
{
    bytesWritten = 0;
    if (!failIfClosed())
        return false;
    // The descriptor is non-blocking, so the kernel may take part of the data or
    // none (queue full): wait for room and go on until all went or the line stalls.
    while (bytesWritten < length) {
        const ssize_t n = ::write(fd_, data + bytesWritten, length - bytesWritten);
        if (n > 0) {
            bytesWritten += static_cast<uint32_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return fail(errno);
        if (!waitUntilWritable(writeStallTimeoutMs_))
            return false;
    }
    return true;
}

void PosixSerialDevice::drainWakeups()
{
    char sink[64];
    while (wakeRead_ >= 0 && ::read(wakeRead_, sink, sizeof sink) > 0) {
    }
}

WaitResult PosixSerialDevice::waitForInput(int timeoutMs)
{
    if (fd_ < 0) {
        fail(EBADF);
        return WaitResult::Gone;
    }
    pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    const bool unlimited = timeoutMs < 0;
    const auto deadline = Clock::now() + std::chrono::milliseconds(unlimited ? 0 : timeoutMs);
    for (;;) {
        const int ready = poll(fds, 2, RemainingMs(unlimited, deadline));
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            fail(errno);
            return WaitResult::Gone;
        }
        if (ready == 0)
            return WaitResult::TimedOut;
        if (fds[1].revents & POLLIN) {
            drainWakeups();
            return WaitResult::Interrupted;
        }
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            // Hung up (an unplugged adapter, a closed pty master): bytes that
            // arrived before are still handed out; after them the device is gone.
            int queued = 0;
            if (ioctl(fd_, FIONREAD, &queued) == 0 && queued > 0)
                return WaitResult::Readable;
            fail(EIO);
            return WaitResult::Gone;
        }
        if (fds[0].revents & POLLIN)
            return WaitResult::Readable;
    }
}

void PosixSerialDevice::interruptWait()
{
    // A full pipe already holds a wake-up; nothing is lost by dropping this one.
    const char wake = 1;
    if (wakeWrite_ >= 0) {
        [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_, &wake, 1);
    }
}

std::unique_ptr<SerialDevice> CreateSystemDevice() { return std::make_unique<PosixSerialDevice>(); }

} // namespace serial
