// Threads that start their work at one moment: each waits until all have been started, so that
// they run against each other from their first call.
#pragma once

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "non_copyable.h"

class ThreadsTogether : private NonCopyable {
public:
    // Starts count threads that run work(0) to work(count - 1) together.
    ThreadsTogether(int count, const std::function<void(int)>& work) : coming_(count)
    {
        for (int t = 0; t < count; ++t) {
            threads_.emplace_back([this, work, t] {
                --coming_;
                while (coming_ > 0) {
                    std::this_thread::yield();
                }
                work(t);
            });
        }
    }
    ~ThreadsTogether() { Join(); }

    // Waits until every thread has done its work.
    void Join()
    {
        for (std::thread& thread : threads_) {
            if (thread.joinable()) {
                thread.join();
            }
        }
    }

private:
    std::atomic<int> coming_;
    std::vector<std::thread> threads_;
};
