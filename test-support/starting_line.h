// Threads that start their work at one moment: each waits at the line until all have come, so
// that they run against each other from their first call.
#pragma once

#include <atomic>
#include <thread>

class StartingLine {
public:
    explicit StartingLine(int threads) : coming_(threads) {}

    void Arrive()
    {
        --coming_;
        while (coming_ > 0) {
            std::this_thread::yield();
        }
    }

private:
    std::atomic<int> coming_;
};
