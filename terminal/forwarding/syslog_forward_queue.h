// The lines waiting for one collector. Bounded: while the collector is away the newest lines are
// dropped once it is full, and counted, so that what is kept is an unbroken stretch from the
// start of the outage and the notice of the gap stands exactly where the gap is.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

#include "received_line.h"
#include "syslog_destination.h"

struct ForwardedLine {
    ReceivedLine line;
    uint64_t droppedBefore = 0;  // lines dropped between the line before this one and this one
};

class SyslogForwardQueue {
public:
    explicit SyslogForwardQueue(size_t capacity);

    // Never waits for the consumer beyond the short lock; a full queue drops line and counts it.
    void Push(const ReceivedLine& line);

    // When nothing waits, waits timeoutMs or until the queue is closed (a line pushed does not
    // end the wait), then moves up to maxLines into *lines (emptied first). *droppedAfter: lines
    // dropped after every line waiting, handed over (and forgotten) only once the queue is empty.
    void Take(size_t maxLines, unsigned timeoutMs, std::vector<ForwardedLine>* lines, uint64_t* droppedAfter);

    // No more lines will come; wakes the consumer.
    void Close();
    bool IsClosed();

    // How many lines wait, and how many were dropped since the start.
    size_t WaitingLines();
    uint64_t DroppedLines();

private:
    size_t capacity_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<ForwardedLine> waiting_;
    uint64_t droppedPending_ = 0;  // dropped since the last line kept
    uint64_t droppedTotal_ = 0;
    bool closed_ = false;
};
