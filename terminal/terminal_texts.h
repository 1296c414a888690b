// Every text the debug terminal shows its user, in one place: messages on standard error (or in a
// message box), its usage, its window's title, menus and status bar, and the sentences that stand
// in its output for what did not arrive. The words of the output's class column belong to the
// output's format (line_text.cpp).
#pragma once

#include <string>

// The program's name, as its window and its message boxes show it.
constexpr wchar_t ProgramTitle[] = L"Vornak Debug Terminal";
constexpr char ProgramTitleAnsi[] = "Vornak Debug Terminal";
constexpr wchar_t HeadlessWindowTitle[] = L"Vornak Debug Terminal (headless)";
// Before every message on standard error.
constexpr char TerminalMessagePrefix[] = "vornak-terminal: ";

constexpr const char* TerminalUsage =
    "Usage: vornak-terminal                          show received lines in a window\n"
    "       vornak-terminal --headless [--output FILE]\n"
    "                                                write every line to FILE (or standard output)\n"
    "       vornak-terminal --wait [--timeout SECONDS]\n"
    "                                                wait until a terminal is running\n"
    "       vornak-terminal --stop [--timeout SECONDS]\n"
    "                                                ask the running terminal to end, wait for it\n"
    "At a command prompt vornak-terminal.com runs these commands on the console; Ctrl+C ends\n"
    "--headless once every line received is written.\n"
    "Exit status: 0 done; 1 failed, timed out or interrupted; 2 another terminal is already\n"
    "running; 64 bad arguments.\n";

// Bad arguments; each is followed by the usage.
constexpr char NeedsAValue[] = " needs a value";  // after the option's name
constexpr char OutputTakesOneName[] = "--output takes one file name";
constexpr char TimeoutTakesSeconds[] = "--timeout takes one whole number of seconds from 1 to 3600";
inline std::string UnknownArgument(const std::string& argument)
{
    return "unknown argument \"" + argument + "\"";
}
constexpr char OnlyOneCommand[] = "give only one of --headless, --stop, --wait, --help";
constexpr char OutputGoesWithHeadless[] = "--output goes with --headless";
constexpr char TimeoutGoesWithStopOrWait[] = "--timeout goes with --stop or --wait";

// Starting. A system error's code and text follow the messages that end in ": ".
constexpr const char* TerminalAlreadyRunning =
    "a debug terminal is already running (a window of class VornakDebugTerminal exists); "
    "only one can receive the lines: close it first, or stop it with vornak-terminal --stop";
constexpr char CannotRegisterMessages[] = "cannot register the terminal messages: ";
constexpr char CannotCreateWindow[] = "cannot create the terminal window: ";
constexpr char CannotFindOwnFolder[] = "cannot find this program's own folder: ";
constexpr char CannotStartWindowProgram[] = "cannot start the window program vornak-terminal.exe: ";

// Headless.
constexpr char CannotOpenOutputFile[] = "cannot open the output file: ";
constexpr char NoStandardOutput[] = "there is no standard output to write to; give --output FILE";
constexpr char LowerIntegrityLinesLost[] = "lines from programs at a lower integrity level will not arrive: ";
constexpr char SomeLinesNotWritten[] = "some lines could not be written to the output";

// --stop and --wait; a time limit is said as a number of seconds and " s".
constexpr char NoTerminalRunning[] = "no debug terminal is running";
constexpr char StopInterrupted[] = "interrupted; the debug terminal was asked to end and may still be running";
constexpr char DidNotEndWithin[] = "the debug terminal did not end within ";
constexpr char WaitInterrupted[] = "interrupted while waiting for a debug terminal";
constexpr char NoneAppearedWithin[] = "no debug terminal appeared within ";
constexpr char SecondsUnit[] = " s";

// The output: what stands instead of a line that did not arrive whole, the clear marker's text,
// and the notice of lines lost ("%llu" is their number).
constexpr const char* TooLongPlaceholder = "<line too long to carry>";
constexpr const char* UnreadablePlaceholder = "<line could not be read>";
constexpr const char* ClearedText = "terminal cleared";
constexpr char DroppedLabel[] = "dropped";
constexpr char DroppedNoticeFormat[] = "%llu lines lost: the output could not keep up";

// The window.
constexpr wchar_t TimeColumnTitle[] = L"Time";
constexpr wchar_t ClassColumnTitle[] = L"Class";
constexpr wchar_t TextColumnTitle[] = L"Text";
constexpr wchar_t FileMenu[] = L"&File";
constexpr wchar_t SaveMenuItem[] = L"&Save shown lines as text...\tCtrl+S";
constexpr wchar_t ExitMenuItem[] = L"E&xit";
constexpr wchar_t EditMenu[] = L"&Edit";
constexpr wchar_t CopyMenuItem[] = L"&Copy selected lines\tCtrl+C";
constexpr wchar_t SelectAllMenuItem[] = L"Select &all\tCtrl+A";
constexpr wchar_t ClearMenuItem[] = L"C&lear\tCtrl+L";
constexpr wchar_t ViewMenu[] = L"&View";
constexpr wchar_t PauseMenuItem[] = L"&Pause\tCtrl+P";
// One per class a user can show or hide, in LineClass order.
constexpr const wchar_t* ShowClassMenuItems[] = {
    L"&Debug lines", L"&Log lines", L"&Statistic lines", L"&Error lines", L"Se&parators",
};
// The status bar: "<shown> lines shown of <kept> kept", then what was lost and what waits.
constexpr wchar_t LinesShownOf[] = L" lines shown of ";
constexpr wchar_t LinesKept[] = L" kept";
constexpr wchar_t OldestDropped[] = L" oldest dropped";
constexpr wchar_t PausedWaiting[] = L"PAUSED, ";
constexpr wchar_t Waiting[] = L" waiting";
constexpr wchar_t StatusSeparator[] = L"; ";
constexpr wchar_t SavedLines[] = L"Saved ";
constexpr wchar_t Lines[] = L" lines";
constexpr wchar_t SaveFailedFormat[] = L"The lines could not be saved (error %lu).";
// The save dialog.
constexpr wchar_t SaveDialogTitle[] = L"Save shown lines as text";
constexpr wchar_t SaveDefaultName[] = L"terminal.txt";
constexpr wchar_t SaveFilter[] = L"Text files (*.txt)\0*.txt\0All files\0*.*\0";
constexpr wchar_t SaveDefaultExtension[] = L"txt";
