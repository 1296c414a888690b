// Four hosts flood the terminal at once: every line arrives, and each thread's lines in the order
// it sent them.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <map>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "running_terminal.h"
#include "terminal_test_lock.h"

namespace {

constexpr int Hosts = 4;
constexpr int ThreadsPerHost = 2;
constexpr int LinesPerThread = 1250;  // 10,000 lines in all
constexpr DWORD HostTimeoutMs = 180000;

// "debug     burst-2-1 : line 17" gives task "burst-2-1" and number 17.
bool ParseBurstLine(const std::string& line, std::string* task, int* number)
{
    const std::string head = "debug     ";
    size_t separator = line.find(" : line ");
    if (line.compare(0, head.size(), head) != 0 || separator == std::string::npos) {
        return false;
    }
    *task = line.substr(head.size(), separator - head.size());
    *number = std::stoi(line.substr(separator + 8));
    return true;
}

TEST(TerminalBurst, TenThousandLinesFromFourHostsArriveCompleteAndInPerThreadOrder)
{
    TerminalTestLock lock;
    RunningTerminal terminal;
    ASSERT_TRUE(terminal.Start());
    HANDLE start = CreateEventA(NULL, TRUE, FALSE, "VornakBurstStart");
    ASSERT_NE(start, nullptr);

    std::vector<std::unique_ptr<CapturedProgram>> hosts;
    for (int host = 0; host < Hosts; ++host) {
        hosts.push_back(std::make_unique<CapturedProgram>());
        ASSERT_TRUE(hosts.back()->Start(PathBesideProgram(L"burst-host.exe"),
                                        {std::to_wstring(host), std::to_wstring(ThreadsPerHost),
                                         std::to_wstring(LinesPerThread)}));
    }
    auto began = std::chrono::steady_clock::now();
    SetEvent(start);
    for (auto& host : hosts) {
        EXPECT_EQ(0, host->Wait(HostTimeoutMs)) << "a host did not get every line through";
    }
    auto sent = std::chrono::steady_clock::now();
    EXPECT_EQ(0, terminal.Stop());
    auto written = std::chrono::steady_clock::now();
    CloseHandle(start);

    std::map<std::string, std::vector<int>> byTask;
    size_t total = 0;
    for (const std::string& line : terminal.LinesWithoutTime()) {
        std::string task;
        int number = 0;
        ASSERT_TRUE(ParseBurstLine(line, &task, &number)) << "unexpected line: " << line;
        byTask[task].push_back(number);
        ++total;
    }
    EXPECT_EQ(static_cast<size_t>(Hosts * ThreadsPerHost * LinesPerThread), total);
    std::vector<int> inOrder(LinesPerThread);
    std::iota(inOrder.begin(), inOrder.end(), 0);
    for (int host = 0; host < Hosts; ++host) {
        for (int thread = 0; thread < ThreadsPerHost; ++thread) {
            std::string task = "burst-" + std::to_string(host) + "-" + std::to_string(thread);
            EXPECT_EQ(inOrder, byTask[task]) << task << "'s lines are missing or out of order";
        }
    }

    // Figures only: a slow machine must not fail the test.
    auto sendMs = std::chrono::duration_cast<std::chrono::milliseconds>(sent - began).count();
    auto stopMs = std::chrono::duration_cast<std::chrono::milliseconds>(written - sent).count();
    std::cout << "[ figures  ] " << total << " lines from " << Hosts << " hosts (" << ThreadsPerHost
              << " threads each) sent in " << sendMs << " ms ("
              << (sendMs > 0 ? total * 1000 / static_cast<size_t>(sendMs) : total) << " lines/s); terminal "
              << "stopped and flushed in " << stopMs << " ms" << std::endl;
    RecordProperty("burst_send_ms", static_cast<int>(sendMs));
}

} // namespace
