#include "terminal_commands.h"

#include <shellapi.h>
#include <string.h>

#include "headless_terminal.h"
#include "instance_control.h"

namespace {

HANDLE InterruptEvent = NULL;

BOOL WINAPI OnInterrupt(DWORD)
{
    SetEvent(InterruptEvent);
    return TRUE;
}

// An event that Ctrl+C sets when the program is on a console; NULL otherwise.
HANDLE InterruptOnCtrlC(const StandardStreams& streams)
{
    if (!streams.joinedConsole) {
        return NULL;
    }
    InterruptEvent = CreateEventW(NULL, TRUE, FALSE, NULL);
    if (InterruptEvent != NULL) {
        SetConsoleCtrlHandler(OnInterrupt, TRUE);
    }
    return InterruptEvent;
}

std::string Seconds(unsigned seconds)
{
    return std::to_string(seconds) + SecondsUnit;
}

// Tells the user what happened and gives the status the command ends with.
int EndWith(int status, const StandardStreams& streams, const std::string& said)
{
    TellUser(streams, said);
    return status;
}

int Stop(const TerminalOptions& options, const StandardStreams& streams)
{
    switch (StopTerminal(options.timeoutSeconds, InterruptOnCtrlC(streams))) {
    case StopResult::Stopped: return DoneExitStatus;
    case StopResult::NoneRunning: return EndWith(DoneExitStatus, streams, NoTerminalRunning);
    case StopResult::Interrupted: return EndWith(FailureExitStatus, streams, StopInterrupted);
    case StopResult::StillRunning: break;
    }
    return EndWith(FailureExitStatus, streams, DidNotEndWithin + Seconds(options.timeoutSeconds));
}

int Wait(const TerminalOptions& options, const StandardStreams& streams)
{
    switch (WaitForTerminal(options.timeoutSeconds, InterruptOnCtrlC(streams))) {
    case WaitResult::Appeared: return DoneExitStatus;
    case WaitResult::Interrupted: return EndWith(FailureExitStatus, streams, WaitInterrupted);
    case WaitResult::TimedOut: break;
    }
    return EndWith(FailureExitStatus, streams, NoneAppearedWithin + Seconds(options.timeoutSeconds));
}

} // namespace

std::vector<std::wstring> ProgramArguments()
{
    std::vector<std::wstring> arguments;
    int count = 0;
    wchar_t** vector = CommandLineToArgvW(GetCommandLineW(), &count);
    if (vector != NULL) {
        for (int i = 1; i < count; ++i) {
            arguments.push_back(vector[i]);
        }
        LocalFree(vector);
    }
    return arguments;
}

int RunConsoleCommand(HINSTANCE instance, const TerminalOptions& options, const StandardStreams& streams)
{
    KeepDialogsAway();
    switch (options.command) {
    case TerminalCommand::Headless: return RunHeadlessTerminal(instance, options, streams);
    case TerminalCommand::Stop: return Stop(options, streams);
    case TerminalCommand::Wait: return Wait(options, streams);
    case TerminalCommand::Window:
    case TerminalCommand::Help: break;
    }
    if (!WriteAll(streams.output, TerminalUsage, strlen(TerminalUsage))) {
        TellUser(streams, TerminalUsage);
    }
    return DoneExitStatus;
}
