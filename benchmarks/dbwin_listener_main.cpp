// bench-dbwin-listener SENDER-PID STOP-EVENT: a debug-output monitor of the standard kind (what a
// developer would otherwise watch OutputDebugStringA with). It owns the shared buffer and the two
// events, takes every string written there, and keeps a tally of those from the given process
// until the named event is set; then it writes its report.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "bench_names.h"
#include "line_digest.h"

namespace {

// Layout of the shared buffer: the writer's process id, then its text with a terminator.
struct DbwinBuffer {
    DWORD processId;
    char text[DbwinBufferSize - sizeof(DWORD)];
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: bench-dbwin-listener SENDER-PID STOP-EVENT\n");
        return 64;
    }
    DWORD sender = strtoul(argv[1], NULL, 10);
    HANDLE stop = OpenEventA(SYNCHRONIZE, FALSE, argv[2]);
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, DbwinBufferSize,
                                        DbwinBufferName);
    bool another = mapping != NULL && GetLastError() == ERROR_ALREADY_EXISTS;
    HANDLE bufferReady = CreateEventA(NULL, FALSE, FALSE, DbwinBufferReadyName);
    HANDLE dataReady = CreateEventA(NULL, FALSE, FALSE, DbwinDataReadyName);
    const DbwinBuffer* buffer = NULL;
    if (mapping != NULL) {
        buffer = static_cast<const DbwinBuffer*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    }
    if (stop == NULL || another || buffer == NULL || bufferReady == NULL || dataReady == NULL) {
        fprintf(stderr, "bench-dbwin-listener: %s (error %lu)\n",
                another ? "another debug-output monitor is running" : "cannot set up the shared buffer",
                GetLastError());
        return 1;
    }
    printf("%s\n", HelperReadyLine);
    fflush(stdout);

    LineTally tally;
    unsigned long long rejected = 0;
    HANDLE waitFor[2] = {dataReady, stop};
    SetEvent(bufferReady);
    while (WaitForMultipleObjects(2, waitFor, FALSE, INFINITE) == WAIT_OBJECT_0) {
        size_t length = strnlen(buffer->text, sizeof(buffer->text));
        if (buffer->processId == sender) {
            tally.Add(buffer->text, length);
        } else {
            ++rejected;
        }
        SetEvent(bufferReady);
    }
    printf(HelperReportFormat, tally.lines, tally.bytes, tally.digest, rejected);
    printf("\n");
    UnmapViewOfFile(buffer);
    CloseHandle(dataReady);
    CloseHandle(bufferReady);
    CloseHandle(mapping);
    CloseHandle(stop);
    return fflush(stdout) == 0 ? 0 : 1;
}
