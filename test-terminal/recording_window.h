// A debug terminal window that records every protocol message it handles. Its window procedure
// runs on the thread that created it; records may be read from any thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "non_copyable.h"
#include "terminal_record.h"
#include "vornak_terminal_protocol.h"

class RecordingWindow : private NonCopyable {
public:
    RecordingWindow();
    ~RecordingWindow();

    // Registers the protocol messages and creates the top-level window on the calling thread.
    // Closing the window posts a quit message to that thread.
    bool Create();
    HWND Window() const { return window_; }

    std::vector<TerminalRecord> Records() const;

    // The next protocol message is recorded, then its handling waits until ReleaseHeldMessage, so
    // that its sender stays blocked.
    void HoldNextMessage();
    bool WaitUntilHolding(DWORD milliseconds);
    void ReleaseHeldMessage();

    // The window destroys itself while handling the next protocol message, after recording it.
    void DestroyWhileHandlingNextMessage();

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool IsProtocolMessage(UINT message) const;
    void Record(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = NULL;
    UINT protocolMessages_[VORNAK_TERMINAL_MESSAGE_COUNT] = {};
    mutable std::mutex recordsLock_;
    std::vector<TerminalRecord> records_;
    std::atomic<bool> holdNext_{false};
    std::atomic<bool> destroyWhileHandlingNext_{false};
    HANDLE holding_;
    HANDLE release_;
};
