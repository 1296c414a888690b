// vornak-terminal.com: the console program beside vornak-terminal.exe. A command prompt finds it
// first for "vornak-terminal" (.COM comes before .EXE in PATHEXT), so --headless, --wait and
// --stop wait, write to the console and hand their exit status to the prompt. Without arguments
// it starts the window program and returns at once.
#include <windows.h>

#include <string>

#include "instance_control.h"
#include "program_path.h"
#include "standard_streams.h"
#include "system_error_text.h"
#include "terminal_arguments.h"
#include "terminal_commands.h"
#include "terminal_texts.h"
#include "vornak_terminal_protocol.h"

namespace {

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

int StartWindow(const TerminalOptions& options, const StandardStreams& streams)
{
    // Said here, on the console; the window program would say it in a message box.
    if (FindWindowA(VORNAK_TERMINAL_CLASS, NULL) != NULL) {
        TellUser(streams, TerminalAlreadyRunning);
        return AnotherTerminalExitStatus;
    }
    if (TerminalClaimHeld()) {
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
    PROCESS_INFORMATION started = {};
    // Nothing inherited: the window keeps no handle of this console or of a redirection (a pipe
    // held open by it would keep the pipe's reader waiting for as long as the window is open).
    if (!CreateProcessW(program.c_str(), &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &started)) {
        TellUser(streams, CannotStartWindowProgram + SystemErrorText(GetLastError()));
        return FailureExitStatus;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return DoneExitStatus;
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
