#pragma once
// What the simulator plays on its end of the line: the flight controller in flight
// or its boot loader. The loop that owns the pseudo-terminal feeds it the tool's
// bytes and the time, and sends what it hands back.
#include "SimClock.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sim {

class SimulatedDevice {
public:
    virtual ~SimulatedDevice() = default;

    virtual void start(TimePoint now) = 0;
    virtual void receive(const uint8_t* data, std::size_t length, TimePoint now) = 0;
    // Runs whatever is due by now (time-outs, paced output).
    virtual void poll(TimePoint now) = 0;
    // When poll() next has something to do.
    virtual TimePoint deadline() const = 0;
    // The bytes to send, in whole frames or replies: the loop drops a whole chunk
    // rather than cut one when the tool does not read.
    virtual std::vector<uint8_t> takeOutput() = 0;
    // A tool opened (true) or closed (false) the line.
    virtual void peerChanged(bool present, TimePoint now) = 0;
    // True when the device has nothing more to do (a boot loader told to run once).
    virtual bool finished() const { return false; }
};

} // namespace sim
