// burst-host: one of several hosts that flood the terminal at once.
// Usage: burst-host HOST THREADS LINES. Each thread registers the task name "burst-HOST-THREAD"
// and sends "line 0" to "line LINES-1" as debug lines. All hosts start sending together when the
// test sets the event "VornakBurstStart". Exits with the worst status the library returned.
#include <windows.h>
#include <stdlib.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "vornakdbg32.h"

namespace {

constexpr DWORD StartWaitMs = 60000;
std::atomic<int> WorstStatus{VORNAKDBG_STATUS_DONE};

void Note(int status)
{
    int worst = WorstStatus.load();
    while (status > worst && !WorstStatus.compare_exchange_weak(worst, status)) {
    }
}

void SendLines(int host, int thread, int lines)
{
    Note(VornakDbg_RegisterTask(("burst-" + std::to_string(host) + "-" + std::to_string(thread)).c_str()));
    for (int line = 0; line < lines; ++line) {
        Note(VornakDbg_Message("line %d", line));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        return 64;
    }
    int host = atoi(argv[1]);
    int threads = atoi(argv[2]);
    int lines = atoi(argv[3]);
    HANDLE start = OpenEventA(SYNCHRONIZE, FALSE, "VornakBurstStart");
    if (start != NULL) {
        WaitForSingleObject(start, StartWaitMs);
        CloseHandle(start);
    }
    std::vector<std::thread> senders;
    for (int thread = 0; thread < threads; ++thread) {
        senders.emplace_back(SendLines, host, thread, lines);
    }
    for (std::thread& sender : senders) {
        sender.join();
    }
    return WorstStatus;
}
