#include "instance_control.h"

#include "terminal_protocol.h"

namespace {

// Held by a starting terminal before it looks for the window: two terminals started at the same
// moment could otherwise both find no window and both create one.
constexpr wchar_t InstanceMutexName[] = L"Local\\VornakDebugTerminal.Instance";
constexpr DWORD PollMs = 20;

} // namespace

HANDLE ClaimSingleInstance(std::string* why)
{
    HANDLE claim = CreateMutexW(NULL, FALSE, InstanceMutexName);
    if (claim != NULL && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(claim);
        claim = NULL;
    }
    if (claim == NULL || FindWindowA(TerminalClassName, NULL) != NULL) {
        if (claim != NULL) {
            CloseHandle(claim);
        }
        *why = "a debug terminal is already running (a window of class VornakDebugTerminal exists); "
               "only one can receive the lines: close it first, or stop it with vornak-terminal --stop";
        return NULL;
    }
    return claim;
}

bool WaitForTerminal(unsigned timeoutSeconds)
{
    ULONGLONG deadline = GetTickCount64() + timeoutSeconds * 1000ull;
    while (FindWindowA(TerminalClassName, NULL) == NULL) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(PollMs);
    }
    return true;
}

StopResult StopTerminal(unsigned timeoutSeconds)
{
    HWND window = FindWindowA(TerminalClassName, NULL);
    if (window == NULL) {
        return StopResult::NoneRunning;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageW(window, WM_CLOSE, 0, 0);
    StopResult result = StopResult::StillRunning;
    if (process != NULL) {
        if (WaitForSingleObject(process, timeoutSeconds * 1000u) == WAIT_OBJECT_0) {
            result = StopResult::Stopped;
        }
        CloseHandle(process);
    } else {
        // Without a handle on the process, its window going away is the best sign left.
        ULONGLONG deadline = GetTickCount64() + timeoutSeconds * 1000ull;
        while (IsWindow(window) && GetTickCount64() < deadline) {
            Sleep(PollMs);
        }
        if (!IsWindow(window)) {
            result = StopResult::Stopped;
        }
    }
    return result;
}
