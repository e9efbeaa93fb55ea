#pragma once
// Spaces frames as a serial line of a given rate would: after t seconds, t × rate
// frames have gone out. A loop that wakes late catches up, but never by more than a
// short burst: frames that a stalled line could not have carried are skipped.
#include "SimClock.h"

#include <cstdint>

namespace sim {

class Pacer {
public:
    explicit Pacer(double framesPerSecond, Duration maxBurst = std::chrono::milliseconds(50));

    void restart(TimePoint now);
    // How many frames are due now; counts them as sent.
    std::uint64_t take(TimePoint now);
    // When the next frame falls due.
    TimePoint nextDue() const;

private:
    std::uint64_t dueBy(TimePoint now) const;

    double rate_;
    std::uint64_t maxBurst_;
    TimePoint start_{};
    std::uint64_t sent_ = 0;
};

} // namespace sim
