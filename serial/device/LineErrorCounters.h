#pragma once
// Line errors on a tty: the driver keeps running counts (TIOCGICOUNT) instead of
// flags that a query clears, so the flags "since the last query" are the
// counters that moved since the previous snapshot.
#include <cstdint>

namespace serial {

struct LineErrorCounters {
    uint64_t bufferOverrun = 0; // the driver's input buffer was full
    uint64_t overrun = 0;       // the UART's receive register was overwritten
    uint64_t parity = 0;
    uint64_t frame = 0;
    uint64_t breaks = 0;
};

// False where the driver keeps no counts (a pseudo-terminal, a USB adapter
// whose driver does not count): then there are no error flags to report.
bool ReadLineErrorCounters(int fd, LineErrorCounters& counters);

// The error flags for the counters that grew from before to after.
uint32_t LineErrorFlagsBetween(const LineErrorCounters& before, const LineErrorCounters& after);

} // namespace serial
