// capture-bench: lines per second the terminal's OutputDebugString listener takes from writers
// calling OutputDebugStringA in 1, 2 and 4 threads, against a bare monitor of the standard kind
// that only counts what arrives. Prints each figure beside its target; a program, not a test.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "debug_output_buffer.h"
#include "debug_output_listener.h"
#include "timing.h"

namespace {

constexpr int LinesPerRound = 5000;
constexpr int Rounds = 7;
constexpr double RatioTarget = 0.95;
constexpr DWORD ArrivalWaitMs = 60000;

std::atomic<long long> Arrived{0};

// The standard monitor at its barest: copy nothing, count the lines of this process, give the
// buffer back.
class BareMonitor {
public:
    bool Start()
    {
        mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0,
                                      static_cast<DWORD>(DebugOutputBufferSize), L"DBWIN_BUFFER");
        if (mapping_ == NULL || GetLastError() == ERROR_ALREADY_EXISTS) {
            return false;
        }
        buffer_ = static_cast<const DWORD*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
        bufferReady_ = CreateEventW(NULL, FALSE, FALSE, L"DBWIN_BUFFER_READY");
        dataReady_ = CreateEventW(NULL, FALSE, FALSE, L"DBWIN_DATA_READY");
        stop_ = CreateEventW(NULL, TRUE, FALSE, NULL);
        if (buffer_ == NULL || bufferReady_ == NULL || dataReady_ == NULL || stop_ == NULL) {
            return false;
        }
        thread_ = std::thread([this] {
            HANDLE waited[] = {stop_, dataReady_};
            SetEvent(bufferReady_);
            while (WaitForMultipleObjects(2, waited, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
                bool ours = buffer_[0] == GetCurrentProcessId();
                SetEvent(bufferReady_);
                if (ours) {
                    ++Arrived;
                }
            }
        });
        return true;
    }
    ~BareMonitor()
    {
        if (thread_.joinable()) {
            SetEvent(stop_);
            thread_.join();
        }
        if (buffer_ != NULL) {
            UnmapViewOfFile(buffer_);
        }
        for (HANDLE handle : {stop_, dataReady_, bufferReady_, mapping_}) {
            if (handle != NULL) {
                CloseHandle(handle);
            }
        }
    }

private:
    HANDLE mapping_ = NULL;
    const DWORD* buffer_ = NULL;
    HANDLE bufferReady_ = NULL;
    HANDLE dataReady_ = NULL;
    HANDLE stop_ = NULL;
    std::thread thread_;
};

// Lines per second from threads writers, each writing its share of LinesPerRound.
double WritersRate(int writers)
{
    Arrived = 0;
    double began = Now();
    std::vector<std::thread> threads;
    for (int w = 0; w < writers; ++w) {
        threads.emplace_back([w, writers] {
            char line[64];
            for (int i = w; i < LinesPerRound; i += writers) {
                snprintf(line, sizeof(line), "writer %d line %06d of the capture benchmark\n", w, i);
                OutputDebugStringA(line);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (DWORD waited = 0; Arrived < LinesPerRound && waited < ArrivalWaitMs; waited += 1) {
        Sleep(1);
    }
    double seconds = Now() - began;
    return Arrived == LinesPerRound ? LinesPerRound / seconds : 0.0;
}

} // namespace

int main()
{
    const int threadCounts[] = {1, 2, 4};
    printf("OutputDebugStringA lines per second taken (%d lines a round, median of %d rounds)\n", LinesPerRound,
           Rounds);
    printf("%-8s %14s %14s %8s %8s\n", "writers", "bare monitor", "terminal's", "ratio", "target");
    bool allMet = true;
    for (int writers : threadCounts) {
        std::vector<double> bare;
        std::vector<double> ours;
        std::vector<double> ratios;
        for (int round = 0; round < Rounds; ++round) {
            // Each round the other goes first, so that neither pays for what the machine did before.
            double bareRate = 0;
            double ourRate = 0;
            for (int turn = 0; turn < 2; ++turn) {
                if ((turn == 0) == (round % 2 == 0)) {
                    BareMonitor monitor;
                    if (!monitor.Start()) {
                        fprintf(stderr, "capture-bench: another debug-output monitor is running\n");
                        return 1;
                    }
                    bareRate = WritersRate(writers);
                    continue;
                }
                DebugOutputListener listener;
                std::string refusal;
                DWORD self = GetCurrentProcessId();
                if (!listener.Start(CaptureScope::Session,
                                    [self](CapturedText&& text) {
                                        if (text.processId == self) {
                                            Arrived += static_cast<long long>(text.lines.size());
                                        }
                                    },
                                    &refusal)) {
                    fprintf(stderr, "capture-bench: %s\n", refusal.c_str());
                    return 1;
                }
                ourRate = WritersRate(writers);
            }
            if (bareRate == 0 || ourRate == 0) {
                fprintf(stderr, "capture-bench: lines were lost (%d writers)\n", writers);
                return 1;
            }
            bare.push_back(bareRate);
            ours.push_back(ourRate);
            ratios.push_back(ourRate / bareRate);
        }
        double ratio = Median(ratios);
        bool met = ratio >= RatioTarget;
        allMet = allMet && met;
        printf("%-8d %14.0f %14.0f %8.3f %8s %s\n", writers, Median(bare), Median(ours), ratio, ">= 0.95",
               met ? "met" : "NOT MET");
    }
    printf("terminal's listener >= %.2f of the bare monitor at every writer count: %s\n", RatioTarget,
           allMet ? "met" : "NOT MET");
    return 0;
}
