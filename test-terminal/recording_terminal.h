// A recording terminal running on a thread of the test process.
#pragma once

#include <windows.h>

#include <memory>
#include <thread>
#include <vector>

#include "non_copyable.h"
#include "recording_window.h"
#include "terminal_record.h"

class RecordingTerminal : private NonCopyable {
public:
    RecordingTerminal() = default;
    ~RecordingTerminal();

    // Returns once the window exists and can be found, or false when it could not be made.
    bool Start();
    // Closes the window and waits for its thread; the records stay readable.
    void Stop();

    HWND Window() const;
    std::vector<TerminalRecord> Records() const;

    void HoldNextMessage();
    bool WaitUntilHolding(DWORD milliseconds);
    void ReleaseHeldMessage();

    // The window is destroyed while it handles the next protocol message, after recording it: a
    // terminal closed just after it took a line.
    void DestroyWhileHandlingNextMessage();

    // The terminal's thread stops taking messages; once a message is being sent to it, the thread
    // destroys the window and ends without handling that message, as a terminal closed while a host
    // was sending to it. Returns once the thread has stopped taking messages (false if it has not
    // within 10 s). Without a send within 10 s the window goes all the same.
    bool VanishOnNextSend();

private:
    void Run(HANDLE ready, bool* created);
    void VanishWhenSentTo();

    std::unique_ptr<RecordingWindow> window_;
    HWND handle_ = NULL;
    std::thread thread_;
    HANDLE stoppedTaking_ = NULL;
};
