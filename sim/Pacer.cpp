#include "Pacer.h"

#include <algorithm>
#include <cmath>

namespace sim {

Pacer::Pacer(double framesPerSecond, Duration maxBurst)
    : rate_(framesPerSecond),
      maxBurst_(std::max<std::uint64_t>(1, static_cast<std::uint64_t>(
                                                std::chrono::duration<double>(maxBurst).count() * framesPerSecond)))
{
}

void Pacer::restart(TimePoint now)
{
    start_ = now;
    sent_ = 0;
}

std::uint64_t Pacer::dueBy(TimePoint now) const
{
    if (now <= start_)
        return 0;
    return static_cast<std::uint64_t>(std::floor(std::chrono::duration<double>(now - start_).count() * rate_));
}

std::uint64_t Pacer::take(TimePoint now)
{
    const std::uint64_t due = dueBy(now);
    if (due <= sent_)
        return 0;
    std::uint64_t count = due - sent_;
    if (count > maxBurst_) {
        count = maxBurst_; // the rest could not have been carried meanwhile
    }
    sent_ = due;
    return count;
}

TimePoint Pacer::nextDue() const
{
    const double seconds = static_cast<double>(sent_ + 1) / rate_;
    return start_ + std::chrono::duration_cast<Duration>(std::chrono::duration<double>(seconds));
}

} // namespace sim
