#include "ReceiveQueue.h"

namespace uploader {

ReceiveQueue::ReceiveQueue(std::size_t capacity) : ring_(capacity) {}

void ReceiveQueue::Put(const uint8_t* data, std::size_t count)
{
    {
        std::lock_guard guard(lock_);
        if (overflowed_)
            return;
        if (count_ + count > ring_.size()) {
            overflowed_ = true;
        } else {
            for (std::size_t i = 0; i < count; ++i)
                ring_[(head_ + count_ + i) % ring_.size()] = data[i];
            count_ += count;
        }
    }
    wake_.notify_all();
}

bool ReceiveQueue::WaitReady(std::chrono::milliseconds timeout)
{
    std::unique_lock guard(lock_);
    return wake_.wait_for(guard, timeout, [this] { return ReadyLocked(); });
}

int ReceiveQueue::Take()
{
    std::lock_guard guard(lock_);
    if (count_ == 0)
        return -1;
    const uint8_t byte = ring_[head_];
    head_ = (head_ + 1) % ring_.size();
    --count_;
    return byte;
}

int ReceiveQueue::Peek() const
{
    std::lock_guard guard(lock_);
    return count_ == 0 ? -1 : ring_[head_];
}

void ReceiveQueue::Cancel()
{
    {
        std::lock_guard guard(lock_);
        cancelled_ = true;
    }
    wake_.notify_all();
}

} // namespace uploader
