#include "launched_program.h"


LaunchedProgram::~LaunchedProgram()
{
    if (process_ != NULL) {
        if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
            TerminateProcess(process_, 1);
            WaitForSingleObject(process_, INFINITE);
        }
        CloseHandle(process_);
    }
}

bool LaunchedProgram::Start(const std::wstring& program, const std::vector<std::wstring>& arguments,
                            const LaunchSetting& setting)
{
    process_ = LaunchProcess(QuotedCommandLine(program, arguments), setting, &id_);
    return process_ != NULL;
}

int LaunchedProgram::Wait(DWORD timeoutMs)
{
    DWORD status = 0;
    if (process_ == NULL || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_, &status)) {
        return -1;
    }
    return static_cast<int>(status);
}

OutputCatcher::OutputCatcher(const std::wstring& path)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), NULL, TRUE};
    handle_ = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          &inheritable, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
}

OutputCatcher::~OutputCatcher()
{
    if (handle_ != INVALID_HANDLE_VALUE) {
        CloseHandle(handle_);
    }
}
