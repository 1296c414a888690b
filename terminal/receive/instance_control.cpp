#include "instance_control.h"

#include "named_object_security.h"
#include "terminal_texts.h"
#include "vornak_terminal_protocol.h"

namespace {

// Held by a starting terminal before it looks for the window: two terminals started at the same
// moment could otherwise both find no window and both create one. Its owner is the running
// terminal, so the mutex also tells waiters when that terminal has ended.
constexpr wchar_t InstanceMutexName[] = L"Local\\VornakDebugTerminal.Instance";
// Set by --stop. A window message could be dropped by the system's filter for a terminal at a
// higher integrity level; an event whose security admits the caller cannot.
constexpr wchar_t StopEventName[] = L"Local\\VornakDebugTerminal.Stop";
constexpr DWORD PollMs = 20;
constexpr DWORD StopRights = SYNCHRONIZE | EVENT_MODIFY_STATE;
constexpr DWORD PresenceRights = SYNCHRONIZE;

// A --stop that has just seen the previous terminal end holds the mutex for a moment.
constexpr DWORD ClaimWaitMs = 200;

// True when this thread now owns mutex (also when its last owner ended without giving it up).
bool TakeOwnership(HANDLE mutex, DWORD waitMs)
{
    DWORD waited = WaitForSingleObject(mutex, waitMs);
    return waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

VOID CALLBACK OnStopRequest(PVOID window, BOOLEAN)
{
    PostMessageW(static_cast<HWND>(window), WM_CLOSE, 0, 0);
}

// Sleeps for ms; true when interrupt was set meanwhile.
bool PauseInterrupted(HANDLE interrupt, DWORD ms)
{
    if (interrupt == NULL) {
        Sleep(ms);
        return false;
    }
    return WaitForSingleObject(interrupt, ms) == WAIT_OBJECT_0;
}

ULONGLONG DeadlineAfter(unsigned seconds)
{
    return GetTickCount64() + seconds * 1000ull;
}

DWORD MsUntil(ULONGLONG deadline)
{
    ULONGLONG now = GetTickCount64();
    return now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
}

// Something that is signalled when the terminal owning window has ended: its process, or where
// the caller may not open that (a terminal at a higher integrity level may refuse it) the
// terminal's presence mutex, which admits the caller. NULL when neither can be had.
HANDLE OpenEndSignal(HWND window, bool* isPresenceMutex)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = processId != 0 ? OpenProcess(SYNCHRONIZE, FALSE, processId) : NULL;
    *isPresenceMutex = process == NULL;
    return process != NULL ? process : OpenMutexW(SYNCHRONIZE, FALSE, InstanceMutexName);
}

// True when the terminal took the request through its stop event.
bool RequestStop()
{
    HANDLE request = OpenEventW(EVENT_MODIFY_STATE, FALSE, StopEventName);
    if (request == NULL) {
        return false;
    }
    bool set = SetEvent(request) != FALSE;
    CloseHandle(request);
    return set;
}

StopResult WaitForSignal(HANDLE end, bool isPresenceMutex, ULONGLONG deadline, HANDLE interrupt)
{
    HANDLE handles[2] = {end, interrupt};
    DWORD count = interrupt != NULL ? 2 : 1;
    DWORD waited = WaitForMultipleObjects(count, handles, FALSE, MsUntil(deadline));
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED_0) {
        if (isPresenceMutex) {
            // Taken over from the terminal that released it (or ended holding it): given back
            // at once, so that the next terminal can start.
            ReleaseMutex(end);
        }
        return StopResult::Stopped;
    }
    return waited == WAIT_OBJECT_0 + 1 ? StopResult::Interrupted : StopResult::StillRunning;
}

// With no window, a terminal may still hold the claim: one starting (the stop request closes its
// window as soon as it exists) or one writing its last lines. Waited for as one with a window.
StopResult StopWindowlessTerminal(ULONGLONG deadline, HANDLE interrupt)
{
    HANDLE presence = OpenMutexW(SYNCHRONIZE, FALSE, InstanceMutexName);
    if (presence == NULL) {
        return StopResult::NoneRunning;
    }
    if (TakeOwnership(presence, 0)) {
        ReleaseMutex(presence);
        CloseHandle(presence);
        return StopResult::NoneRunning;
    }
    RequestStop();
    StopResult result = WaitForSignal(presence, true, deadline, interrupt);
    CloseHandle(presence);
    return result;
}

// Looks for the terminal window until it is no longer window (NULL: until one runs); changed when
// it is, timedOut after the deadline, interrupted once interrupt is set.
template <typename Result>
Result PollWhileTerminalIs(HWND window, ULONGLONG deadline, HANDLE interrupt, Result changed, Result timedOut,
                           Result interrupted)
{
    while (FindWindowA(VORNAK_TERMINAL_CLASS, NULL) == window) {
        if (GetTickCount64() >= deadline) {
            return timedOut;
        }
        if (PauseInterrupted(interrupt, PollMs)) {
            return interrupted;
        }
    }
    return changed;
}

} // namespace

bool ClaimSingleInstance(InstanceClaim* claim, std::string* why)
{
    InstanceClaim made;
    ReachableObjectSecurity presenceSecurity(PresenceRights);
    made.presence = CreateMutexW(presenceSecurity.Attributes(), FALSE, InstanceMutexName);
    if (made.presence == NULL && presenceSecurity.Attributes() != NULL && GetLastError() != ERROR_ACCESS_DENIED) {
        // The descriptor may be refused (a label above this program's own level): default security.
        made.presence = CreateMutexW(NULL, FALSE, InstanceMutexName);
    }
    if (made.presence == NULL && GetLastError() == ERROR_ACCESS_DENIED) {
        // It exists and admits others only to wait on it: enough to own and give up.
        made.presence = OpenMutexW(PresenceRights, FALSE, InstanceMutexName);
    }
    // Owning the mutex, not its mere existence, is the claim: a --stop or --wait may hold the
    // mutex open long after its terminal ended, and one that ended without giving it up
    // (ended from outside) leaves it abandoned, free to take.
    if (made.presence != NULL && !TakeOwnership(made.presence, ClaimWaitMs)) {
        CloseHandle(made.presence);
        made.presence = NULL;
    }
    bool windowExists = FindWindowA(VORNAK_TERMINAL_CLASS, NULL) != NULL;
    if (made.presence == NULL || windowExists) {
        ReleaseInstance(&made);
        *why = windowExists ? TerminalAlreadyRunning : TerminalStartingOrEnding;
        return false;
    }
    ReachableObjectSecurity stopSecurity(StopRights);
    made.stopRequest = CreateEventW(stopSecurity.Attributes(), TRUE, FALSE, StopEventName);
    if (made.stopRequest == NULL && stopSecurity.Attributes() != NULL) {
        made.stopRequest = CreateEventW(NULL, TRUE, FALSE, StopEventName);
    }
    if (made.stopRequest != NULL && GetLastError() == ERROR_ALREADY_EXISTS) {
        // Left set by a stop request to the previous terminal whose caller still holds it open.
        ResetEvent(made.stopRequest);
    }
    // Without the event the terminal still runs; --stop then falls back to WM_CLOSE.
    *claim = made;
    return true;
}

bool TerminalClaimHeld()
{
    HANDLE presence = OpenMutexW(PresenceRights, FALSE, InstanceMutexName);
    if (presence == NULL) {
        return false;
    }
    bool held = !TakeOwnership(presence, 0);
    if (!held) {
        ReleaseMutex(presence);
    }
    CloseHandle(presence);
    return held;
}

void CloseOnStopRequest(InstanceClaim* claim, HWND window)
{
    if (claim->stopRequest != NULL && claim->stopWatch == NULL &&
        !RegisterWaitForSingleObject(&claim->stopWatch, claim->stopRequest, OnStopRequest, window, INFINITE,
                                     WT_EXECUTEONLYONCE)) {
        claim->stopWatch = NULL;
    }
}

void ReleaseInstance(InstanceClaim* claim)
{
    if (claim->stopWatch != NULL) {
        UnregisterWaitEx(claim->stopWatch, INVALID_HANDLE_VALUE);
    }
    if (claim->stopRequest != NULL) {
        CloseHandle(claim->stopRequest);
    }
    if (claim->presence != NULL) {
        ReleaseMutex(claim->presence);
        CloseHandle(claim->presence);
    }
    *claim = InstanceClaim();
}

WaitResult WaitForTerminal(unsigned timeoutSeconds, HANDLE interrupt)
{
    return PollWhileTerminalIs(NULL, DeadlineAfter(timeoutSeconds), interrupt, WaitResult::Appeared,
                               WaitResult::TimedOut, WaitResult::Interrupted);
}

StopResult StopTerminal(unsigned timeoutSeconds, HANDLE interrupt)
{
    ULONGLONG deadline = DeadlineAfter(timeoutSeconds);
    HWND window = FindWindowA(VORNAK_TERMINAL_CLASS, NULL);
    if (window == NULL) {
        return StopWindowlessTerminal(deadline, interrupt);
    }
    // Opened before asking, so that an end that follows at once is not missed.
    bool isPresenceMutex = false;
    HANDLE end = OpenEndSignal(window, &isPresenceMutex);
    if (!RequestStop()) {
        // Not our terminal, or one that has no stop event: ask its window.
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    if (end == NULL) {
        // With nothing to wait on, the window going away is the best sign left.
        return PollWhileTerminalIs(window, deadline, interrupt, StopResult::Stopped, StopResult::StillRunning,
                                   StopResult::Interrupted);
    }
    StopResult result = WaitForSignal(end, isPresenceMutex, deadline, interrupt);
    CloseHandle(end);
    return result;
}
