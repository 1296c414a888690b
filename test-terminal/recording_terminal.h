// A recording terminal running on a thread of the test process.
#pragma once

#include <windows.h>

#include <memory>
#include <thread>
#include <vector>

#include "recording_window.h"
#include "terminal_record.h"

class RecordingTerminal {
public:
    RecordingTerminal() = default;
    ~RecordingTerminal();
    RecordingTerminal(const RecordingTerminal&) = delete;
    RecordingTerminal& operator=(const RecordingTerminal&) = delete;

    // Returns once the window exists and can be found, or false when it could not be made.
    bool Start();
    // Closes the window and waits for its thread; the records stay readable.
    void Stop();

    HWND Window() const;
    std::vector<TerminalRecord> Records() const;

    void HoldNextMessage();
    bool WaitUntilHolding(DWORD milliseconds);
    void ReleaseHeldMessage();

private:
    void Run(HANDLE ready, bool* created);

    std::unique_ptr<RecordingWindow> window_;
    HWND handle_ = NULL;
    std::thread thread_;
};
