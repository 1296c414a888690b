// One terminal at a time: refusing a second one, and letting scripts wait for or stop the one
// that runs, also when it runs at a higher integrity level than they do (elevated).
#pragma once

#include <windows.h>

#include <string>

// Held by the running terminal from its start until everything it received is written.
struct InstanceClaim {
    HANDLE presence = NULL;     // mutex owned by the terminal's main thread
    HANDLE stopRequest = NULL;  // event that --stop sets
    HANDLE stopWatch = NULL;    // thread-pool wait on stopRequest
};

// Claims the right to be the terminal. Returns false with *why set when another terminal (ours
// or any other program owning the window class) is running, or one of ours holds the claim
// without a window (starting, or writing its last lines). Call on the thread that runs the
// terminal and later releases the claim.
bool ClaimSingleInstance(InstanceClaim* claim, std::string* why);

// True when one of our terminals holds the claim (running, starting, or writing its last lines).
bool TerminalClaimHeld();

// From now on a stop request closes window (WM_CLOSE, as a click on its close box would).
void CloseOnStopRequest(InstanceClaim* claim, HWND window);

// Gives the claim up: waiters see the terminal ended.
void ReleaseInstance(InstanceClaim* claim);

// interrupt (may be NULL): an event that, once set, ends a wait early (Ctrl+C).
enum class WaitResult { Appeared, TimedOut, Interrupted };

// Waits until a terminal window exists.
WaitResult WaitForTerminal(unsigned timeoutSeconds, HANDLE interrupt);

enum class StopResult { Stopped, NoneRunning, StillRunning, Interrupted };

// Asks the running terminal to close and waits up to timeoutSeconds for it to end; also one
// that holds the claim without a window. NoneRunning only when no terminal holds the claim.
StopResult StopTerminal(unsigned timeoutSeconds, HANDLE interrupt);
