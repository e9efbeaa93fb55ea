// Pacing decided on a clock the test moves: the line's rate, and no flood after a stall.
#include "Pacer.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;

TEST(Pacer, ReleasesFramesAtTheLineRateAndOnlyAShortBurstAfterAStall)
{
    sim::Pacer pacer(1280, 50ms);
    const sim::TimePoint start = sim::TimePoint{} + 1h;
    pacer.restart(start);

    std::uint64_t total = 0;
    for (int tick = 1; tick <= 100; ++tick) // one second in 10 ms ticks
        total += pacer.take(start + tick * 10ms);
    EXPECT_EQ(total, 1280u);
    EXPECT_EQ(pacer.take(start + 1s), 0u) << "nothing twice";

    // Five seconds without a look: a line would have carried them, but they are
    // gone; what is due now is at most 50 ms worth.
    EXPECT_EQ(pacer.take(start + 6s), 64u);
    EXPECT_EQ(pacer.take(start + 6s + 10ms), 12u);
    EXPECT_GT(pacer.nextDue(), start + 6s + 10ms);
    EXPECT_LE(pacer.nextDue(), start + 6s + 11ms);
}
