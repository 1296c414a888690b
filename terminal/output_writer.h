// Writes the lines of a queue to a file or stream on a thread of its own, so that a slow disk or
// a full pipe holds up only this thread, never the window procedure the hosts wait on.
#pragma once

#include <windows.h>

#include <atomic>
#include <thread>

#include "incoming_queue.h"

class OutputWriter {
public:
    // Starts writing what arrives in queue to output (which stays the caller's to close).
    OutputWriter(IncomingQueue& queue, HANDLE output);
    ~OutputWriter();

    // Closes the queue, writes what is left and waits for the thread. True when every write
    // succeeded.
    bool Finish();

private:
    void Run();

    IncomingQueue& queue_;
    HANDLE output_;
    std::atomic<bool> failed_{false};
    std::thread thread_;
};

// How often waiting lines are written out.
constexpr unsigned WriteIntervalMs = 50;
