#include "recording_terminal.h"

RecordingTerminal::~RecordingTerminal()
{
    Stop();
}

bool RecordingTerminal::Start()
{
    window_.reset(new RecordingWindow());
    HANDLE ready = CreateEventA(NULL, TRUE, FALSE, NULL);
    bool created = false;
    thread_ = std::thread(&RecordingTerminal::Run, this, ready, &created);
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
    if (!created) {
        thread_.join();
    }
    return created;
}

void RecordingTerminal::Run(HANDLE ready, bool* created)
{
    // Start's variables are gone once ready is set.
    bool windowMade = window_->Create();
    handle_ = window_->Window();
    *created = windowMade;
    SetEvent(ready);
    if (!windowMade) {
        return;
    }
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
}

void RecordingTerminal::Stop()
{
    if (thread_.joinable()) {
        ReleaseHeldMessage();
        PostMessageA(handle_, WM_CLOSE, 0, 0);
        thread_.join();
    }
}

HWND RecordingTerminal::Window() const
{
    return handle_;
}

std::vector<TerminalRecord> RecordingTerminal::Records() const
{
    return window_ ? window_->Records() : std::vector<TerminalRecord>();
}

void RecordingTerminal::HoldNextMessage()
{
    window_->HoldNextMessage();
}

bool RecordingTerminal::WaitUntilHolding(DWORD milliseconds)
{
    return window_->WaitUntilHolding(milliseconds);
}

void RecordingTerminal::ReleaseHeldMessage()
{
    if (window_) {
        window_->ReleaseHeldMessage();
    }
}
