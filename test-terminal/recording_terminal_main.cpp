// recording-terminal: a debug terminal that records every protocol message until its window is
// closed, then writes one record a line to standard output and exits with 0.
#include <stdio.h>

#include "recording_window.h"

int main()
{
    RecordingWindow window;
    if (!window.Create()) {
        fprintf(stderr, "recording-terminal: cannot create the terminal window (error %lu)\n", GetLastError());
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    for (const TerminalRecord& record : window.Records()) {
        printf("%s\n", FormatRecord(record).c_str());
    }
    return fflush(stdout) == 0 ? 0 : 1;
}
