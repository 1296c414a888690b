// What the window and the headless terminal both do to become the debug terminal, in this order:
// register the five messages, claim the right to be the only terminal, create the window of the
// protocol's class, let the messages through the system's filter and have a stop request close
// the window. The claim is given up when the session ends, whichever way it ends.
#pragma once

#include <windows.h>

#include <string>

#include "instance_control.h"
#include "protocol_window.h"
#include "standard_streams.h"
#include "exit_status.h"
#include "non_copyable.h"

class TerminalSession : private NonCopyable {
public:
    explicit TerminalSession(const StandardStreams& streams) : streams_(streams) {}
    ~TerminalSession() { End(); }

    // Registers the messages and claims the instance. 0 when this program is now the terminal;
    // else its exit status (1: the messages could not be registered, 2: another terminal runs),
    // the user told why.
    int Begin();

    // The event that --stop sets (NULL when it could not be made); valid until End.
    HANDLE StopRequest() const { return claim_.stopRequest; }

    // Registers windowClass under the protocol's class name and creates a top-level window of it
    // on this thread (hosts find the terminal with FindWindow, which does not see message-only
    // windows), lets the messages through the system's filter (*filterRefusal: empty, or the
    // system's error and its text when it refused) and makes a stop request close it. NULL, the
    // user told why, when the window could not be made.
    HWND CreateTerminalWindow(WNDCLASSEXW windowClass, const wchar_t* title, DWORD style, int width, int height,
                              HMENU menu, std::string* filterRefusal);
    // The same for a window made elsewhere (the window mode's receiving thread): the user told
    // why when it could not be made, the filter's refusal said. True when there is a window.
    bool Accept(const ProtocolWindow& made, std::string* filterRefusal);
    // From now on a stop request closes window (WM_CLOSE, as a click on its close box would).
    void CloseOnStopRequest(HWND window) { ::CloseOnStopRequest(&claim_, window); }
    // Gives the claim up: waiters see the terminal ended. Once everything received is written.
    void End() { ReleaseInstance(&claim_); }

private:
    const StandardStreams& streams_;
    InstanceClaim claim_;
};
