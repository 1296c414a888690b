#include "line_receiver.h"

#include "terminal_protocol.h"
#include "terminal_texts.h"
#include "vornak_terminal_protocol.h"

// What the receiving thread shares with the receiver's owner. The thread holds it too, so that it
// stays valid should the owner stop waiting for the thread.
struct ReceiverState : private NonCopyable {
    explicit ReceiverState(size_t waitingLineLimit) : queue(waitingLineLimit) {}
    ~ReceiverState()
    {
        if (ready != NULL) {
            CloseHandle(ready);
        }
    }

    IncomingQueue queue;
    HINSTANCE instance = NULL;
    HWND closeTarget = NULL;
    HANDLE ready = NULL;  // set once the window exists or could not be made
    ProtocolWindow made;
};

namespace {

// Posted by Stop: the receiving window ends.
constexpr UINT EndReceivingMessage = WM_APP + 1;
// The receiving thread only handles messages: it starts and ends well within this unless the
// system is in trouble.
constexpr DWORD ThreadWaitMs = 10000;

LRESULT CALLBACK ReceivingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        void* state = reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    }
    auto* state = reinterpret_cast<ReceiverState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    ReceivedLine line;
    if (state != NULL && ReceiveTerminalMessage(message, wParam, lParam, &line)) {
        state->queue.Push(std::move(line));
        return 0;
    }
    switch (message) {
    case WM_CLOSE:
        // The window the user sees decides, as if its own close box had been clicked.
        PostMessageW(state->closeTarget, WM_CLOSE, 0, 0);
        return 0;
    case EndReceivingMessage:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

DWORD WINAPI ReceiveLines(void* parameter)
{
    auto* handedOver = static_cast<std::shared_ptr<ReceiverState>*>(parameter);
    std::shared_ptr<ReceiverState> state = std::move(*handedOver);
    delete handedOver;
    WNDCLASSEXW windowClass = {};
    windowClass.lpfnWndProc = ReceivingWindowProc;
    windowClass.hInstance = state->instance;
    // Never shown: the user sees the frame, a window of its own class on another thread.
    state->made = CreateProtocolWindow(windowClass, ProgramTitle, WS_OVERLAPPED, 0, 0, NULL, state.get());
    SetEvent(state->ready);
    if (state->made.window == NULL) {
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    // A terminal started again in this process (as tests do) registers the class again.
    UnregisterClassW(VORNAK_TERMINAL_CLASS_W, state->instance);
    return 0;
}

ProtocolWindow NotMade(DWORD error)
{
    ProtocolWindow failed;
    failed.error = error;
    return failed;
}

} // namespace

LineReceiver::LineReceiver(size_t waitingLineLimit) : state_(std::make_shared<ReceiverState>(waitingLineLimit)) {}

IncomingQueue& LineReceiver::Queue()
{
    return state_->queue;
}

HWND LineReceiver::Window() const
{
    return state_->made.window;
}

ProtocolWindow LineReceiver::Start(HINSTANCE instance, HWND closeTarget)
{
    state_->instance = instance;
    state_->closeTarget = closeTarget;
    state_->ready = CreateEventW(NULL, TRUE, FALSE, NULL);
    if (state_->ready == NULL) {
        return NotMade(GetLastError());
    }
    auto* handedOver = new std::shared_ptr<ReceiverState>(state_);
    thread_ = CreateThread(NULL, 0, ReceiveLines, handedOver, 0, NULL);
    if (thread_ == NULL) {
        DWORD error = GetLastError();
        delete handedOver;
        return NotMade(error);
    }
    if (WaitForSingleObject(state_->ready, ThreadWaitMs) != WAIT_OBJECT_0) {
        return NotMade(WAIT_TIMEOUT);
    }
    return state_->made;
}

void LineReceiver::Stop()
{
    if (thread_ == NULL) {
        return;
    }
    if (state_->made.window != NULL) {
        PostMessageW(state_->made.window, EndReceivingMessage, 0, 0);
    }
    WaitForSingleObject(thread_, ThreadWaitMs);
    CloseHandle(thread_);
    thread_ = NULL;
}
