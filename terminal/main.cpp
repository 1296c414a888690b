// vornak-terminal: shows the lines that programs send through VORNAKDBG32, in a window or, for
// scripts, as text on standard output or in a file.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "headless_terminal.h"
#include "instance_control.h"
#include "standard_streams.h"
#include "terminal_arguments.h"
#include "terminal_window.h"

namespace {

// Exit status for a command line that makes no sense (as in sysexits' EX_USAGE).
constexpr int UsageExitStatus = 64;

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

int Stop(const TerminalOptions& options, const StandardStreams& streams)
{
    switch (StopTerminal(options.timeoutSeconds, NULL)) {
    case StopResult::Stopped:
        return 0;
    case StopResult::NoneRunning:
        TellUser(streams, "no debug terminal is running");
        return 0;
    case StopResult::StillRunning:
    case StopResult::Interrupted:
        break;
    }
    TellUser(streams, "the debug terminal did not end within " + std::to_string(options.timeoutSeconds) + " s");
    return 1;
}

int Wait(const TerminalOptions& options, const StandardStreams& streams)
{
    if (WaitForTerminal(options.timeoutSeconds, NULL) == WaitResult::Appeared) {
        return 0;
    }
    TellUser(streams, "no debug terminal appeared within " + std::to_string(options.timeoutSeconds) + " s");
    return 1;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    TerminalOptions options;
    std::string error;
    bool understood = ParseTerminalArguments(ProgramArguments(), &options, &error);
    // Everything but the window reports on the console it was started from.
    StandardStreams streams = OpenStandardStreams(!understood || options.command != TerminalCommand::Window);
    if (!understood) {
        TellUser(streams, error + "\n" + TerminalUsage);
        return UsageExitStatus;
    }
    switch (options.command) {
    case TerminalCommand::Window: return RunTerminalWindow(instance, showCommand, streams);
    case TerminalCommand::Headless: return RunHeadlessTerminal(instance, options, streams);
    case TerminalCommand::Stop: return Stop(options, streams);
    case TerminalCommand::Wait: return Wait(options, streams);
    case TerminalCommand::Help: break;
    }
    if (!WriteAll(streams.output, TerminalUsage, strlen(TerminalUsage))) {
        TellUser(streams, TerminalUsage);
    }
    return 0;
}
