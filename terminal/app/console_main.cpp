// vornak-terminal.com: the console program beside vornak-terminal.exe. A command prompt finds it
// first for "vornak-terminal" (.COM comes before .EXE in PATHEXT), so --headless, --wait and
// --stop wait, write to the console and hand their exit status to the prompt. Without arguments
// (or with a log, which opens in a viewer while a terminal runs) it starts the window program and
// returns once the window shows, or with the window program's status and reasons when it refused
// what it was given.
#include <windows.h>

#include <string>
#include <vector>

#include "frame_class.h"
#include "instance_control.h"
#include "program_path.h"
#include "standard_streams.h"
#include "system_error_text.h"
#include "terminal_arguments.h"
#include "terminal_commands.h"
#include "terminal_texts.h"
#include "user_messages.h"
#include "viewer_start.h"
#include "vornak_terminal_protocol.h"

namespace {

// How long the window program is watched for its window or its refusal: one that shows neither
// by then (a slow start, a start hidden on purpose) is left to run and says what goes wrong in a
// message box of its own.
constexpr DWORD WindowStartWaitMs = 20000;
constexpr DWORD WindowStartPollMs = 50;
// What the window program may write to standard error before this program reads it.
constexpr DWORD RefusalPipeBytes = 64 * 1024;

// The window program: this program's path with the extension .exe.
std::wstring WindowProgramPath()
{
    std::wstring path = OwnProgramPath();
    size_t name = path.find_last_of(L"\\/");
    size_t dot = path.find_last_of(L'.');
    if (dot != std::wstring::npos && (name == std::wstring::npos || dot > name)) {
        path.resize(dot);
    }
    return path.empty() ? path : path + L".exe";
}

// True once the process shows a frame: it took its arguments and runs.
bool ShowsFrame(DWORD processId)
{
    HWND frame = NULL;
    while ((frame = FindWindowExW(NULL, frame, TerminalFrameClass, NULL)) != NULL) {
        DWORD owner = 0;
        GetWindowThreadProcessId(frame, &owner);
        if (owner == processId && IsWindowVisible(frame)) {
            return true;
        }
    }
    return false;
}

// Appends what waits in the pipe to *text, without waiting for more.
void ReadWaiting(HANDLE pipe, std::string* text)
{
    char buffer[4096];
    DWORD available = 0;
    while (PeekNamedPipe(pipe, NULL, 0, NULL, &available, NULL) && available > 0) {
        DWORD got = 0;
        DWORD wanted = available < sizeof(buffer) ? available : static_cast<DWORD>(sizeof(buffer));
        if (!ReadFile(pipe, buffer, wanted, &got, NULL) || got == 0) {
            return;
        }
        text->append(buffer, got);
    }
}

// Starts program with only `inherited` of this process's handles; the system's error, or
// ERROR_SUCCESS.
DWORD StartInheritingOnly(const std::wstring& program, std::wstring commandLine, const STARTUPINFOW& startup,
                          HANDLE inherited, PROCESS_INFORMATION* started)
{
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(NULL, 1, 0, &size);
    std::vector<char> storage(size);
    STARTUPINFOEXW extended = {};
    extended.StartupInfo = startup;
    extended.StartupInfo.cb = sizeof(extended);
    extended.lpAttributeList = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage.data());
    if (!InitializeProcThreadAttributeList(extended.lpAttributeList, 1, 0, &size)) {
        return GetLastError();
    }
    DWORD error = ERROR_SUCCESS;
    if (!UpdateProcThreadAttribute(extended.lpAttributeList, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &inherited,
                                   sizeof(inherited), NULL, NULL) ||
        !CreateProcessW(program.c_str(), &commandLine[0], NULL, NULL, TRUE, EXTENDED_STARTUPINFO_PRESENT, NULL, NULL,
                        &extended.StartupInfo, started)) {
        error = GetLastError();
    }
    DeleteProcThreadAttributeList(extended.lpAttributeList);
    return error;
}

int StartWindow(const TerminalOptions& options, const StandardStreams& streams)
{
    // Said here, on the console; the window program would say it in a message box. A log shows
    // in a viewer beside a running terminal.
    bool viewer = ShowsInViewer(options);
    if (!viewer && FindWindowA(VORNAK_TERMINAL_CLASS, NULL) != NULL) {
        TellUser(streams, TerminalAlreadyRunning);
        return AnotherTerminalExitStatus;
    }
    if (!viewer && TerminalClaimHeld()) {
        TellUser(streams, TerminalStartingOrEnding);
        return AnotherTerminalExitStatus;
    }
    std::wstring program = WindowProgramPath();
    if (program.empty()) {
        TellUser(streams, CannotFindOwnFolder + SystemErrorText(GetLastError()));
        return FailureExitStatus;
    }
    STARTUPINFOW own = {};
    own.cb = sizeof(own);
    GetStartupInfoW(&own);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if ((own.dwFlags & STARTF_USESHOWWINDOW) != 0) {
        // "start /min vornak-terminal" asks for a minimised window.
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = own.wShowWindow;
    }
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!options.rulesPath.empty()) {
        // A file name holds no quote, so quoting it is enough. The window program reads it from
        // the same current folder.
        commandLine += L" --rules \"" + options.rulesPath + L"\"";
    }
    if (options.historyLines != 0) {
        commandLine += L" --history " + std::to_wstring(options.historyLines);
    }
    if (!options.openPath.empty()) {
        commandLine += (viewer ? L" --view \"" : L" \"") + options.openPath + L"\"";
    }
    if (!options.logPath.empty()) {
        commandLine += L" --log \"" + options.logPath + L"\"";
        if (options.rotateBytes != 0) {
            commandLine += L" --rotate " + std::to_wstring(options.rotateBytes) + L" --keep " +
                           std::to_wstring(options.keptFiles);
        }
        if (options.format == OutputFormat::Json) {
            commandLine += L" --format json";
        }
    }
    // Its standard error is a pipe this program reads until the window shows, so that a refusal
    // (a bad rules file, a log it cannot open) reaches this console with its status. Nothing else is inherited: a
    // handle of this console or of a redirection held open by the window would keep the
    // redirection's reader waiting for as long as the window is open.
    HANDLE refusals = NULL;
    HANDLE refusalsWriter = NULL;
    if (!CreatePipe(&refusals, &refusalsWriter, NULL, RefusalPipeBytes) ||
        !SetHandleInformation(refusalsWriter, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT)) {
        DWORD error = GetLastError();
        if (refusals != NULL) {
            CloseHandle(refusals);
            CloseHandle(refusalsWriter);
        }
        TellUser(streams, CannotStartWindowProgram + SystemErrorText(error));
        return FailureExitStatus;
    }
    startup.dwFlags |= STARTF_USESTDHANDLES;
    startup.hStdError = refusalsWriter;
    PROCESS_INFORMATION started = {};
    DWORD error = StartInheritingOnly(program, commandLine, startup, refusalsWriter, &started);
    CloseHandle(refusalsWriter);
    if (error != ERROR_SUCCESS) {
        CloseHandle(refusals);
        TellUser(streams, CannotStartWindowProgram + SystemErrorText(error));
        return FailureExitStatus;
    }
    CloseHandle(started.hThread);
    std::string said;
    int status = DoneExitStatus;
    for (DWORD waited = 0; waited < WindowStartWaitMs; waited += WindowStartPollMs) {
        bool ended = WaitForSingleObject(started.hProcess, WindowStartPollMs) == WAIT_OBJECT_0;
        ReadWaiting(refusals, &said);
        DWORD exitCode = 0;
        if (ended && GetExitCodeProcess(started.hProcess, &exitCode)) {
            status = static_cast<int>(exitCode);
            break;
        }
        if (ShowsFrame(started.dwProcessId)) {
            break;
        }
    }
    CloseHandle(refusals);
    CloseHandle(started.hProcess);
    if (!said.empty()) {
        WriteUserMessage(streams.error, said);  // its messages, already in the terminal's form
    }
    return status;
}

} // namespace

int wmain()
{
    StandardStreams streams = ConsoleStandardStreams();
    TerminalOptions options;
    std::string error;
    if (!ParseTerminalArguments(ProgramArguments(), &options, &error)) {
        TellUser(streams, error + "\n" + TerminalUsage);
        return UsageExitStatus;
    }
    if (options.command == TerminalCommand::Window) {
        return StartWindow(options, streams);
    }
    return RunConsoleCommand(GetModuleHandleW(NULL), options, streams);
}
