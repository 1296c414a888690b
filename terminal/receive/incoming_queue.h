// The hand-over between the window procedure, which must return at once, and whoever draws or
// writes the lines later (a timer on the same thread, or a writer thread).
#pragma once

#include <stdint.h>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "received_line.h"

// Lines waiting for the consumer beyond this are dropped and counted: memory stays bounded when
// the consumer (a slow disk, a window that cannot draw fast enough) does not keep up.
constexpr size_t WaitingLineLimit = 1000000;

class IncomingQueue {
public:
    // At most capacity lines wait; further lines are dropped and counted until the consumer catches up.
    explicit IncomingQueue(size_t capacity);

    // Never blocks on the consumer beyond the short lock.
    void Push(ReceivedLine&& line);

    // Moves every waiting line into *lines (emptied first) and returns how many were dropped since
    // the last call.
    uint64_t TakeAll(std::vector<ReceivedLine>* lines);

    // Waits up to timeoutMs for lines or for Close; false once closed and empty.
    bool WaitForLines(unsigned timeoutMs);

    // Wakes the consumer for the last time.
    void Close();


private:
    size_t capacity_;
    std::mutex mutex_;
    std::condition_variable closed_;
    std::vector<ReceivedLine> waiting_;
    uint64_t dropped_ = 0;
    bool isClosed_ = false;
};
