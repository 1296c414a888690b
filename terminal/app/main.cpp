// vornak-terminal.exe: shows the lines that programs send through VORNAKDBG32 in a window or, for
// scripts, as text on standard output or in a file. At a command prompt vornak-terminal.com runs
// the commands that are not the window.
#include <windows.h>

#include <string>

#include "standard_streams.h"
#include "terminal_arguments.h"
#include "terminal_commands.h"
#include "terminal_window.h"
#include "viewer_start.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    TerminalOptions options;
    std::string error;
    bool understood = ParseTerminalArguments(ProgramArguments(), &options, &error);
    bool window = understood && options.command == TerminalCommand::Window;
    // Everything but the window reports on the console it was started from.
    StandardStreams streams = OpenStandardStreams(!window);
    streams.dialogsAllowed = window;
    if (!window) {
        KeepDialogsAway();
    }
    if (!understood) {
        TellUser(streams, error + "\n" + TerminalUsage);
        return UsageExitStatus;
    }
    if (window) {
        WindowOptions windowOptions;
        windowOptions.rulesPath = options.rulesPath;
        windowOptions.historyLines = options.historyLines;
        windowOptions.openPath = options.openPath;
        windowOptions.viewer = ShowsInViewer(options);
        if (!options.logPath.empty()) {
            windowOptions.log = options;  // the output's format and rotation, for the log
            windowOptions.log.outputPath = options.logPath;
        }
        return RunTerminalWindow(instance, showCommand, streams, windowOptions);
    }
    return RunConsoleCommand(instance, options, streams);
}
