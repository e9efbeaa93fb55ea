// The receive queue between the GUI thread and the worker: whole-chunk overflow,
// and wake-ups that are never lost.
#include "ReceiveQueue.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using uploader::ReceiveQueue;
using namespace std::chrono_literals;

namespace {

TEST(ReceiveQueue, ChunkThatDoesNotFitIsDroppedWholeAndEverythingAfterIt)
{
    ReceiveQueue queue(8);
    const uint8_t bytes[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    queue.Put(bytes, 5);
    queue.Put(bytes, 3); // exactly full
    EXPECT_FALSE(queue.Overflowed());
    EXPECT_EQ(queue.Take(), 1);
    queue.Put(bytes, 2); // one byte too many
    EXPECT_TRUE(queue.Overflowed());
    EXPECT_TRUE(queue.WaitReady(0ms));
    // The bytes before the overflow stay in order; the dropped chunk left nothing.
    std::vector<int> rest;
    for (int b = queue.Take(); b >= 0; b = queue.Take())
        rest.push_back(b);
    EXPECT_EQ(rest, (std::vector<int>{2, 3, 4, 5, 1, 2, 3}));
}

TEST(ReceiveQueue, WaitTimesOutOnlyWhenNothingCame)
{
    ReceiveQueue queue(16);
    EXPECT_FALSE(queue.WaitReady(5ms));
    const uint8_t byte = 0;
    queue.Put(&byte, 1);
    EXPECT_TRUE(queue.WaitReady(0ms)); // a waiting byte is taken without waiting
    EXPECT_EQ(queue.Peek(), 0);
    EXPECT_EQ(queue.Take(), 0);
    EXPECT_EQ(queue.Peek(), -1);
}

TEST(ReceiveQueue, EveryByteAndTheCancelReachAWaitingWorker)
{
    // The producer hands over one byte at a time while the consumer waits with a
    // long time-out: a lost wake-up would show as a missing byte or a time-out.
    constexpr int count = 20000;
    ReceiveQueue queue(count); // room for all: this is about wake-ups, not overflow
    std::thread producer([&] {
        for (int i = 0; i < count; ++i) {
            const auto byte = static_cast<uint8_t>(i);
            queue.Put(&byte, 1);
        }
        queue.Cancel();
    });
    int received = 0;
    bool inOrder = true;
    while (queue.WaitReady(10s)) {
        const int b = queue.Take();
        if (b < 0)
            break; // cancelled and drained
        inOrder = inOrder && b == (received & 0xFF);
        ++received;
    }
    producer.join();
    EXPECT_EQ(received, count);
    EXPECT_TRUE(inOrder);
    EXPECT_TRUE(queue.Cancelled());
}

} // namespace
