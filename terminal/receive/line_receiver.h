// The window hosts send their lines to, owned by a thread that does nothing else: its window
// procedure reads the line's atom, stamps the arrival, queues the line and returns. Drawing,
// filtering, files and dialogs happen on other threads and never make a host wait.
#pragma once

#include <windows.h>

#include <memory>

#include "incoming_queue.h"
#include "non_copyable.h"
#include "protocol_window.h"

struct ReceiverState;

class LineReceiver : private NonCopyable {
public:
    explicit LineReceiver(size_t waitingLineLimit);
    ~LineReceiver() { Stop(); }

    // Starts the receiving thread and returns once its window exists, or could not be made
    // (window NULL, with the error). A request to close the receiving window (WM_CLOSE, as
    // `--stop` sends it) is posted on to closeTarget, which decides.
    ProtocolWindow Start(HINSTANCE instance, HWND closeTarget);
    // Where the received lines wait, in the order they arrived (a clear request among them).
    IncomingQueue& Queue();
    HWND Window() const;
    // Ends the window and its thread; waits for them a bounded time.
    void Stop();

private:
    std::shared_ptr<ReceiverState> state_;
    HANDLE thread_ = NULL;
};
