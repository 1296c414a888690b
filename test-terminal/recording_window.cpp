#include "recording_window.h"

namespace {

// Larger than any atom text, so that a text is never cut while being read.
const int AtomTextBufferSize = 512;

bool RegisterTerminalClass(WNDPROC procedure)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = VORNAK_TERMINAL_CLASS;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

RecordingWindow::RecordingWindow()
    : holding_(CreateEventA(NULL, TRUE, FALSE, NULL)), release_(CreateEventA(NULL, TRUE, FALSE, NULL))
{
}

RecordingWindow::~RecordingWindow()
{
    if (window_ != NULL) {
        DestroyWindow(window_);
    }
    CloseHandle(release_);
    CloseHandle(holding_);
}

bool RecordingWindow::Create()
{
    for (int i = 0; i < VORNAK_TERMINAL_MESSAGE_COUNT; ++i) {
        protocolMessages_[i] = RegisterWindowMessageA(VornakTerminalMessageNames[i]);
        if (protocolMessages_[i] == 0) {
            return false;
        }
    }
    if (!RegisterTerminalClass(WindowProcedure)) {
        return false;
    }
    // Top-level: FindWindowA does not find message-only windows.
    window_ = CreateWindowExA(0, VORNAK_TERMINAL_CLASS, "Recording terminal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 400, 300, NULL, NULL, GetModuleHandleA(NULL), this);
    return window_ != NULL;
}

std::vector<TerminalRecord> RecordingWindow::Records() const
{
    std::lock_guard<std::mutex> guard(recordsLock_);
    return records_;
}

void RecordingWindow::HoldNextMessage()
{
    ResetEvent(holding_);
    ResetEvent(release_);
    holdNext_ = true;
}

bool RecordingWindow::WaitUntilHolding(DWORD milliseconds)
{
    return WaitForSingleObject(holding_, milliseconds) == WAIT_OBJECT_0;
}

void RecordingWindow::ReleaseHeldMessage()
{
    SetEvent(release_);
}

void RecordingWindow::DestroyWhileHandlingNextMessage()
{
    destroyWhileHandlingNext_ = true;
}

bool RecordingWindow::IsProtocolMessage(UINT message) const
{
    for (UINT known : protocolMessages_) {
        if (known != 0 && message == known) {
            return true;
        }
    }
    return false;
}

void RecordingWindow::Record(UINT message, WPARAM wParam, LPARAM lParam)
{
    TerminalRecord record{message, KindOfAtom(wParam), std::string(), lParam};
    char text[AtomTextBufferSize];
    // Only a value that fits an atom is one; anything wider would be a fault of the sender.
    if (wParam != 0 && wParam <= 0xFFFF &&
        GlobalGetAtomNameA(static_cast<ATOM>(wParam), text, sizeof(text)) != 0) {
        record.text = text;
    }
    {
        std::lock_guard<std::mutex> guard(recordsLock_);
        records_.push_back(record);
    }
    if (holdNext_.exchange(false)) {
        SetEvent(holding_);
        WaitForSingleObject(release_, INFINITE);
    }
    if (destroyWhileHandlingNext_.exchange(false)) {
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK RecordingWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const CREATESTRUCTA* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    RecordingWindow* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self != NULL && self->IsProtocolMessage(message)) {
        self->Record(message, wParam, lParam);
        return 0;
    }
    if (message == WM_DESTROY) {
        if (self != NULL) {
            self->window_ = NULL;
        }
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
