#include "lock_holder_process.h"

#include <vector>

namespace {

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

} // namespace

LockHolderProcess::LockHolderProcess(const std::wstring& clientName, DWORD milliseconds)
{
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), NULL, TRUE};
    HANDLE childInput = NULL;
    HANDLE childOutput = NULL;
    CreatePipe(&childInput, &input_, &inherit, 0);
    CreatePipe(&output_, &childOutput, &inherit, 0);
    SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = childOutput;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::wstring command = L"\"" + ProgramFolder() + L"netcfg-lock-holder.exe\" \"" + clientName + L"\" " +
                           std::to_wstring(milliseconds);
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    CreateProcessW(NULL, line.data(), NULL, NULL, TRUE, 0, NULL, NULL, &startup, &process_);
    CloseHandle(childInput);
    CloseHandle(childOutput);
}

LockHolderProcess::~LockHolderProcess()
{
    Finish();
    if (process_.hProcess != NULL) {
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    CloseHandle(output_);
}

bool LockHolderProcess::WaitUntilHolding(DWORD timeoutMs)
{
    std::string seen;
    DWORD started = GetTickCount();
    while (GetTickCount() - started < timeoutMs) {
        DWORD available = 0;
        if (!PeekNamedPipe(output_, NULL, 0, NULL, &available, NULL)) {
            return false;
        }
        if (available == 0) {
            Sleep(10);
            continue;
        }
        char buffer[64];
        DWORD read = 0;
        if (!ReadFile(output_, buffer, sizeof(buffer), &read, NULL)) {
            return false;
        }
        seen.append(buffer, read);
        if (seen.find("holding") != std::string::npos) {
            return true;
        }
    }
    return false;
}

DWORD LockHolderProcess::Finish()
{
    if (input_ != NULL) {
        CloseHandle(input_);
        input_ = NULL;
    }
    return WaitForExit(10000);
}

DWORD LockHolderProcess::WaitForExit(DWORD timeoutMs)
{
    DWORD code = STILL_ACTIVE;
    if (process_.hProcess != NULL && WaitForSingleObject(process_.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process_.hProcess, &code);
    }
    return code;
}
