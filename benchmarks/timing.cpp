#include "timing.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>

double Now()
{
    static const double ticksPerSecond = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart);
    }();
    LARGE_INTEGER ticks;
    QueryPerformanceCounter(&ticks);
    return ticks.QuadPart / ticksPerSecond;
}

double TimeOnThreads(int threads, const std::function<void(int)>& prepare,
                     const std::function<void(int)>& work)
{
    HANDLE allPrepared = CreateEventA(NULL, TRUE, FALSE, NULL);
    HANDLE go = CreateEventA(NULL, TRUE, FALSE, NULL);
    std::atomic<int> unprepared{threads};
    std::atomic<double> lastEnd{0.0};
    std::vector<std::thread> running;
    for (int t = 0; t < threads; ++t) {
        running.emplace_back([&, t] {
            prepare(t);
            if (--unprepared == 0) {
                SetEvent(allPrepared);
            }
            WaitForSingleObject(go, INFINITE);
            work(t);
            double end = Now();
            double seen = lastEnd.load();
            while (end > seen && !lastEnd.compare_exchange_weak(seen, end)) {
            }
        });
    }
    WaitForSingleObject(allPrepared, INFINITE);
    double start = Now();
    SetEvent(go);
    for (std::thread& thread : running) {
        thread.join();
    }
    CloseHandle(go);
    CloseHandle(allPrepared);
    return lastEnd.load() - start;
}

double Median(std::vector<double> values)
{
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

Quartiles Spread(std::vector<double> values)
{
    if (values.empty()) {
        return Quartiles{0.0, 0.0};
    }
    std::sort(values.begin(), values.end());
    size_t last = values.size() - 1;
    return Quartiles{values[last / 4], values[last - last / 4]};
}
