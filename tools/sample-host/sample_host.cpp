// sample-host: a program that uses VORNAKDBG32 as hosts do. Two worker threads register task
// names and send a line of every class; the main thread frames them with separators.
#include <windows.h>
#include <stdio.h>

#include <atomic>
#include <thread>

#include "vornakdbg32.h"

namespace {

std::atomic<int> SentLines{0};
std::atomic<int> WorstStatus{VORNAKDBG_STATUS_DONE};

void NoteFailure(int status)
{
    int worst = WorstStatus.load();
    while (status > worst && !WorstStatus.compare_exchange_weak(worst, status)) {
    }
}

// A line's status: counted when sent, remembered when not.
void Count(int status)
{
    if (status == VORNAKDBG_STATUS_DONE) {
        ++SentLines;
    } else {
        NoteFailure(status);
    }
}

void Scanner()
{
    NoteFailure(VornakDbg_RegisterTask("Scanner"));
    for (int adapter = 1; adapter <= 2; ++adapter) {
        Count(VornakDbg_Message("probing adapter %d of %d", adapter, 2));
    }
    Count(VornakStat_Message("packets=%d bytes=%d dropped=%d", 1843, 1176512, 3));
    Count(VornakLog_Message("scan finished: %d adapters bound", 2));
    Count(VornakError_Message("adapter %d: link down (%s)", 2, "cable unplugged"));
}

void Uploader()
{
    NoteFailure(VornakDbg_RegisterTask("Uploader"));
    Count(VornakDbg_Message("connecting to %s:%d", "collector.local", 5140));
    Count(VornakLog_Message("uploaded %d records", 250));
    Count(VornakStat_Message("throughput=%.1f KB/s, 100%% of queue sent", 812.4));
    Count(VornakError_Message("retry %d of %d failed: %s", 1, 3, "timed out"));
}

} // namespace

int main()
{
    int status = VornakLog_Message("sample host started (process %lu)", GetCurrentProcessId());
    if (status == VORNAKDBG_STATUS_NO_TERMINAL) {
        fprintf(stderr, "sample-host: no debug terminal is running (status 2); start vornak-terminal first\n");
        return status;
    }
    Count(status);
    Count(VornakDbg_Separator(0));

    std::thread scanner(Scanner);
    std::thread uploader(Uploader);
    scanner.join();
    uploader.join();

    Count(VornakDbg_Separator('='));
    Count(VornakLog_Message("sample host done: %d lines sent by 2 tasks and the main thread", SentLines.load() + 1));
    printf("sample-host: %d lines sent", SentLines.load());
    if (WorstStatus != VORNAKDBG_STATUS_DONE) {
        printf(", worst status %d\n", WorstStatus.load());
        return WorstStatus;
    }
    printf("\n");
    return 0;
}
