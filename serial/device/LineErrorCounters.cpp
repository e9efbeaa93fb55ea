#include "LineErrorCounters.h"

#include "SerialDevice.h"

#include <sys/ioctl.h>
#if __has_include(<linux/serial.h>)
#include <linux/serial.h>
#endif

namespace serial {

bool ReadLineErrorCounters([[maybe_unused]] int fd, [[maybe_unused]] LineErrorCounters& counters)
{
#ifdef TIOCGICOUNT
    serial_icounter_struct raw{};
    if (ioctl(fd, TIOCGICOUNT, &raw) != 0)
        return false;
    // The kernel's counters are int and wrap; read them as unsigned so a
    // wrapped counter still compares as "moved".
    counters.bufferOverrun = static_cast<unsigned>(raw.buf_overrun);
    counters.overrun = static_cast<unsigned>(raw.overrun);
    counters.parity = static_cast<unsigned>(raw.parity);
    counters.frame = static_cast<unsigned>(raw.frame);
    counters.breaks = static_cast<unsigned>(raw.brk);
    return true;
#else
    return false;
#endif
}

uint32_t LineErrorFlagsBetween(const LineErrorCounters& before, const LineErrorCounters& after)
{
    uint32_t flags = 0;
    if (after.bufferOverrun != before.bufferOverrun)
        flags |= LineErrorRxOver;
    if (after.overrun != before.overrun)
        flags |= LineErrorOverrun;
    if (after.parity != before.parity)
        flags |= LineErrorParity;
    if (after.frame != before.frame)
        flags |= LineErrorFrame;
    if (after.breaks != before.breaks)
        flags |= LineErrorBreak;
    return flags;
}

} // namespace serial
