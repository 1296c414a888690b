#include "terminal_commands.h"

#include <shellapi.h>
#include <string.h>

#include "headless_terminal.h"
#include "instance_control.h"

namespace {

HANDLE g_interrupt = NULL;

BOOL WINAPI OnInterrupt(DWORD)
{
    SetEvent(g_interrupt);
    return TRUE;
}

// An event that Ctrl+C sets when the program is on a console; NULL otherwise.
HANDLE InterruptOnCtrlC(const StandardStreams& streams)
{
    if (!streams.joinedConsole) {
        return NULL;
    }
    g_interrupt = CreateEventW(NULL, TRUE, FALSE, NULL);
    if (g_interrupt != NULL) {
        SetConsoleCtrlHandler(OnInterrupt, TRUE);
    }
    return g_interrupt;
}

std::string Seconds(unsigned seconds)
{
    return std::to_string(seconds) + " s";
}

int Stop(const TerminalOptions& options, const StandardStreams& streams)
{
    switch (StopTerminal(options.timeoutSeconds, InterruptOnCtrlC(streams))) {
    case StopResult::Stopped:
        return 0;
    case StopResult::NoneRunning:
        TellUser(streams, "no debug terminal is running");
        return 0;
    case StopResult::Interrupted:
        TellUser(streams, "interrupted; the debug terminal was asked to end and may still be running");
        return 1;
    case StopResult::StillRunning:
        break;
    }
    TellUser(streams, "the debug terminal did not end within " + Seconds(options.timeoutSeconds));
    return 1;
}

int Wait(const TerminalOptions& options, const StandardStreams& streams)
{
    switch (WaitForTerminal(options.timeoutSeconds, InterruptOnCtrlC(streams))) {
    case WaitResult::Appeared:
        return 0;
    case WaitResult::Interrupted:
        TellUser(streams, "interrupted while waiting for a debug terminal");
        return 1;
    case WaitResult::TimedOut:
        break;
    }
    TellUser(streams, "no debug terminal appeared within " + Seconds(options.timeoutSeconds));
    return 1;
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
    return 0;
}
