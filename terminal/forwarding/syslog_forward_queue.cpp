#include "syslog_forward_queue.h"

#include <chrono>

SyslogForwardQueue::SyslogForwardQueue(size_t capacity) : capacity_(capacity) {}

void SyslogForwardQueue::Push(const ReceivedLine& line)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (closed_) {
            return;
        }
        if (waiting_.size() >= capacity_) {
            ++droppedPending_;
            ++droppedTotal_;
            return;
        }
        waiting_.push_back(ForwardedLine{line, droppedPending_});
        droppedPending_ = 0;
    }
    // The consumer is not woken: it takes lines in batches at its own pace, and a wake for each
    // line would cost the receiving thread and the machine more than the forwarding itself.
}

void SyslogForwardQueue::Take(size_t maxLines, unsigned timeoutMs, std::vector<ForwardedLine>* lines,
                              uint64_t* droppedAfter)
{
    lines->clear();
    *droppedAfter = 0;
    std::unique_lock<std::mutex> lock(mutex_);
    if (waiting_.empty() && droppedPending_ == 0 && !closed_) {
        changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [this] { return closed_; });
    }
    while (!waiting_.empty() && lines->size() < maxLines) {
        lines->push_back(std::move(waiting_.front()));
        waiting_.pop_front();
    }
    if (waiting_.empty()) {
        *droppedAfter = droppedPending_;
        droppedPending_ = 0;
    }
}

void SyslogForwardQueue::Close()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
}

bool SyslogForwardQueue::IsClosed()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return closed_;
}

size_t SyslogForwardQueue::WaitingLines()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return waiting_.size();
}

uint64_t SyslogForwardQueue::DroppedLines()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return droppedTotal_;
}
