#pragma once
// The simulator's state machines take the time as an argument instead of reading a
// clock, so tests and fuzzers can drive them without waiting.
#include <chrono>

namespace sim {

using Clock = std::chrono::steady_clock;
using TimePoint = Clock::time_point;
using Duration = Clock::duration;

} // namespace sim
