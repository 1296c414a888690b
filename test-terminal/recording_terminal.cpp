#include "recording_terminal.h"

namespace {

// Posted to the window: the thread sees it in its loop and never dispatches it.
const UINT VanishRequest = WM_APP + 1;
const DWORD VanishWaitMilliseconds = 10000;
const DWORD PollMilliseconds = 1;

}  // namespace

RecordingTerminal::~RecordingTerminal()
{
    Stop();
    if (stoppedTaking_ != NULL) {
        CloseHandle(stoppedTaking_);
    }
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
        if (message.message == VanishRequest) {
            VanishWhenSentTo();
            return;
        }
        DispatchMessageA(&message);
    }
}

void RecordingTerminal::VanishWhenSentTo()
{
    SetEvent(stoppedTaking_);
    // Looking at the queue takes no message from it: the sent one stays unhandled.
    for (DWORD waited = 0; waited < VanishWaitMilliseconds; waited += PollMilliseconds) {
        if ((HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0) {
            break;
        }
        Sleep(PollMilliseconds);
    }
    DestroyWindow(handle_);
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

void RecordingTerminal::DestroyWhileHandlingNextMessage()
{
    window_->DestroyWhileHandlingNextMessage();
}

bool RecordingTerminal::VanishOnNextSend()
{
    if (stoppedTaking_ == NULL) {
        stoppedTaking_ = CreateEventA(NULL, TRUE, FALSE, NULL);
    }
    ResetEvent(stoppedTaking_);
    return PostMessageA(handle_, VanishRequest, 0, 0) &&
           WaitForSingleObject(stoppedTaking_, VanishWaitMilliseconds) == WAIT_OBJECT_0;
}

void RecordingTerminal::ReleaseHeldMessage()
{
    if (window_) {
        window_->ReleaseHeldMessage();
    }
}
