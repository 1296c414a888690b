// Takes what programs write with OutputDebugString, as the system's debug-output monitors do: a
// buffer and two events under agreed names, one writer at a time (the writers take the mutex).
// A thread of its own copies each text and gives the buffer back at once, since every writer
// waits up to 10 s for it; only then does it split the text and name the process.
#pragma once

#include <windows.h>
#include <stdint.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "arrival_time.h"
#include "non_copyable.h"

// What one OutputDebugString call wrote.
struct CapturedText {
    ArrivalTime arrival;
    uint32_t processId = 0;
    std::wstring processName;  // empty when the process has ended or cannot be queried
    std::vector<std::string> lines;  // in the writer's ANSI code page
};

// The session's objects, or with Global the machine's (services and other sessions write
// there; creating them needs the right to create global objects, which elevation gives).
enum class CaptureScope { Session, Global };

using CapturedTextSink = std::function<void(CapturedText&&)>;

struct ListenerState;

class DebugOutputListener : private NonCopyable {
public:
    ~DebugOutputListener() { Stop(); }

    // Starts listening; sink is called on the listener's thread for each text, and must not
    // wait on anything that may take long. False with *refusal (a sentence for the user) when
    // another monitor already has the buffer (it is left alone) or the objects cannot be made.
    bool Start(CaptureScope scope, CapturedTextSink sink, std::string* refusal);
    bool Listening() const { return thread_ != NULL; }
    // Ends the thread, waiting for it a bounded time; the buffer is free for another monitor.
    void Stop();

private:
    std::shared_ptr<ListenerState> state_;
    HANDLE thread_ = NULL;
};

// What the terminal captures: the session's output and, when asked, the machine's too (services
// and other sessions write only there), a listener each, both into one sink.
struct CaptureListeners {
    DebugOutputListener session;
    DebugOutputListener global;

    // Starts what is not running yet; each refusal is added to *refusals as a sentence for the
    // user. The sink is called on both listeners' threads.
    void Start(bool withGlobal, const CapturedTextSink& sink, std::vector<std::string>* refusals);
    void Stop();
    bool Listening() const { return session.Listening() || global.Listening(); }
};
