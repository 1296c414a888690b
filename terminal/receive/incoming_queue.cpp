#include "incoming_queue.h"

#include <chrono>

IncomingQueue::IncomingQueue(size_t capacity) : capacity_(capacity) {}

void IncomingQueue::Push(ReceivedLine&& line)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (waiting_.size() >= capacity_) {
        ++dropped_;
        return;
    }
    waiting_.push_back(std::move(line));
}

uint64_t IncomingQueue::TakeAll(std::vector<ReceivedLine>* lines)
{
    lines->clear();
    std::lock_guard<std::mutex> lock(mutex_);
    lines->swap(waiting_);
    uint64_t dropped = dropped_;
    dropped_ = 0;
    return dropped;
}

bool IncomingQueue::WaitForLines(unsigned timeoutMs)
{
    // Producers do not signal each line (that would cost the window procedure a wake-up per
    // line); the consumer polls at its own pace and only Close wakes it early.
    std::unique_lock<std::mutex> lock(mutex_);
    closed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return isClosed_; });
    return !isClosed_ || !waiting_.empty() || dropped_ != 0;
}

void IncomingQueue::Close()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        isClosed_ = true;
    }
    closed_.notify_all();
}
