#pragma once
// The sender's receive queue: a fixed-size byte FIFO between the thread that
// receives (the GUI thread, handing over port chunks) and the worker that reads
// one byte at a time. The wake-up is a condition variable waited on with its
// predicate, so a chunk or a cancel that arrives between the worker's check and its
// wait is never missed.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace uploader {

class ReceiveQueue {
public:
    explicit ReceiveQueue(std::size_t capacity);

    // Appends the chunk whole, or drops it whole and raises the overflow flag when it
    // does not fit; after an overflow every further chunk is dropped.
    void Put(const uint8_t* data, std::size_t count);

    // Blocks until a byte is waiting or the cancel or overflow flag is up; false when
    // the time-out passed first.
    bool WaitReady(std::chrono::milliseconds timeout);

    int Take(); // the first byte (0 to 255), or -1 when empty
    int Peek() const;

    void Cancel();
    bool Cancelled() const { return cancelled_.load(); }
    bool Overflowed() const { return overflowed_.load(); }
    std::size_t Capacity() const { return ring_.size(); }

private:
    bool ReadyLocked() const { return count_ > 0 || cancelled_ || overflowed_; }

    mutable std::mutex lock_;
    std::condition_variable wake_;
    std::vector<uint8_t> ring_; // allocated once: nothing is allocated per chunk
    std::size_t head_ = 0;
    std::size_t count_ = 0;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> overflowed_{false};
};

} // namespace uploader
