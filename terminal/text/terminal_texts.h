// Every text the debug terminal shows its user, in one place: messages on standard error (or in a
// message box), its usage, its window's title, menus and status bar, and the sentences that stand
// in its output for what did not arrive. The words of the output's class column belong to the
// output's format (line_text.cpp). A "{1}" ... "{9}" in a text is filled in by FillText.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// The program's name, as its window and its message boxes show it.
constexpr wchar_t ProgramTitle[] = L"Vornak Debug Terminal";
constexpr wchar_t HeadlessWindowTitle[] = L"Vornak Debug Terminal (headless)";
// Before every message on standard error.
constexpr char TerminalMessagePrefix[] = "vornak-terminal: ";

constexpr const char* TerminalUsage =
    "Usage: vornak-terminal [--rules FILE]           show received lines in a window (with the rules\n"
    "                                                of FILE in place of the remembered ones)\n"
    "         [LOG]                                  showing the saved log LOG (as File > Open)\n"
    "         [--log FILE [--rotate BYTES [--keep N]] [--format text|json]]\n"
    "                                                and write every line to FILE as it arrives\n"
    "         [--history LINES]                      keeping the newest LINES lines (10000 to\n"
    "                                                50000000) in place of the remembered number\n"
    "       vornak-terminal --view LOG [--rules FILE] [--history LINES]\n"
    "                                                show the saved log LOG in a window of its own,\n"
    "                                                beside the live one; LOG alone does the same\n"
    "                                                while a terminal runs\n"
    "       vornak-terminal --headless [--output FILE [--rotate BYTES [--keep N]]]\n"
    "                                  [--format text|json]\n"
    "                                                write every line to FILE (or standard output);\n"
    "                                                an existing FILE is added to, never emptied\n"
    "         [--forward syslog+tcp://HOST:PORT | syslog+udp://HOST:PORT]...\n"
    "         [--forward-queue LINES]                and send it to each syslog collector named;\n"
    "                                                up to LINES (100000) wait for one that is away\n"
    "         [--capture-ods[=global]]               with what programs of this session write with\n"
    "                                                OutputDebugString (=global: of every session\n"
    "                                                and the services' too; needs elevation)\n"
    "       vornak-terminal --wait [--timeout SECONDS]\n"
    "                                                wait until a terminal is running\n"
    "       vornak-terminal --stop [--timeout SECONDS]\n"
    "                                                ask the running terminal to end, wait for it\n"
    "--format json writes one JSON object a line: time, class and text (UTF-8).\n"
    "--rotate moves FILE to FILE.1 (FILE.1 to FILE.2, ...) before it grows past BYTES (a number,\n"
    "or with K, M or G), keeping N old files (default 5, 0 to 1000); what FILE holds at the start\n"
    "counts toward BYTES. A rotation another program prevents changes no file: lines go on into FILE.\n"
    "At a command prompt vornak-terminal.com runs these commands on the console; Ctrl+C ends\n"
    "--headless once every line received is written.\n"
    "Exit status: 0 done; 1 failed, timed out or interrupted (also --headless when lines could not\n"
    "be written: its reader closed the output, or the output took nothing for 5 s at the end);\n"
    "2 another terminal is already running, starting or ending; 64 bad arguments (a rules file\n"
    "the window cannot use among them).\n";

// Bad arguments; each is followed by the usage.
constexpr char NeedsAValue[] = " needs a value";  // after the option's name
constexpr char OutputTakesOneName[] = "--output takes one file name";
constexpr char RulesTakesOneName[] = "--rules takes one file name";
constexpr char RulesGoWithWindow[] = "--rules goes with the window (no --headless, --stop, --wait)";
constexpr char TimeoutTakesSeconds[] = "--timeout takes one whole number of seconds from 1 to 3600";
inline std::string GivenTwice(const std::string& option)
{
    return option + " is given twice";
}
inline std::string UnknownArgument(const std::string& argument)
{
    return "unknown argument \"" + argument + "\"";
}
constexpr char OnlyOneCommand[] = "give only one of --headless, --stop, --wait, --help";
constexpr char OutputGoesWithHeadless[] = "--output goes with --headless";
constexpr char TimeoutGoesWithStopOrWait[] = "--timeout goes with --stop or --wait";
constexpr char FormatTakesTextOrJson[] = "--format takes text or json";
constexpr char FormatGoesWithHeadless[] = "--format goes with --headless or --log";
constexpr char LogTakesOneName[] = "--log takes one file name";
constexpr const char* HistoryTakesLines = "--history takes a whole number of lines from {1} to {2}";
constexpr char HistoryGoesWithWindow[] = "--history goes with the window (no --headless, --stop, --wait)";
constexpr char LogGoesWithWindow[] = "--log goes with the window (no --headless, --stop, --wait)";
constexpr char OpenGoesWithWindow[] = "a log to open goes with the window (no --headless, --stop, --wait)";
constexpr char OpensOneLog[] = "give only one log to open";
constexpr char ViewTakesOneName[] = "--view takes one file name";
constexpr char ViewWritesNoLog[] = "--view shows a file and takes no lines: it goes without --log";
constexpr char RotateTakesBytes[] =
    "--rotate takes a size in bytes from 1 to 1099511627776, or with K, M or G (as 10M)";
constexpr char RotateNeedsOutput[] = "--rotate goes with --headless --output FILE or with --log FILE";
constexpr char KeepTakesFiles[] = "--keep takes a whole number of old files from 0 to 1000";
constexpr char KeepGoesWithRotate[] = "--keep goes with --rotate";

// Starting. A system error's code and text follow the messages that end in ": ".
constexpr const char* TerminalAlreadyRunning =
    "a debug terminal is already running (a window of class VornakDebugTerminal exists); "
    "only one can receive the lines: close it first, or stop it with vornak-terminal --stop";
// The claim is held but there is no window: a terminal that has not made it yet, or one that
// closed it and is writing its last lines.
constexpr const char* TerminalStartingOrEnding =
    "another debug terminal is starting or ending (it holds the claim but has no window now); "
    "try again in a moment, or wait for it to end with vornak-terminal --stop";
constexpr char CannotRegisterMessages[] = "cannot register the terminal messages: ";
constexpr char CannotCreateWindow[] = "cannot create the terminal window: ";
constexpr char CannotFindOwnFolder[] = "cannot find this program's own folder: ";
constexpr char CannotStartWindowProgram[] = "cannot start the window program vornak-terminal.exe: ";

// Headless.
constexpr char CannotOpenOutputFile[] = "cannot open the output file: ";
constexpr char NoStandardOutput[] = "there is no standard output to write to; give --output FILE";
constexpr char LowerIntegrityLinesLost[] = "lines from programs at a lower integrity level will not arrive: ";
// {1}: "1 line" or "N lines" (LineCount).
constexpr const char* LinesNotWrittenReaderGone =
    "{1} could not be written: the output's reader has closed it; the terminal stopped taking lines";
constexpr const char* LinesNotWrittenOutputStalled =
    "{1} could not be written: the output took nothing for {2} s after the terminal was asked to end";
constexpr const char* LinesNotWrittenError = "{1} could not be written to the output: {2}";
constexpr const char* CannotStartWriter = "cannot start writing the output: {1}";
// "1 line", "2 lines": count with the word that goes with it.
inline std::string CountText(unsigned long long count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}
inline std::string LineCount(unsigned long long count)
{
    return CountText(count, "line", "lines");
}
// {1}: "1 message" or "N messages"; what standard error could not take in time.
constexpr const char* UserMessagesDropped = "{1} left out here: standard error was not taking them";

// --stop and --wait; a time limit is said as a number of seconds and " s".
constexpr char NoTerminalRunning[] = "no debug terminal is running";
constexpr char StopInterrupted[] = "interrupted; the debug terminal was asked to end and may still be running";
constexpr char DidNotEndWithin[] = "the debug terminal did not end within ";
constexpr char WaitInterrupted[] = "interrupted while waiting for a debug terminal";
constexpr char NoneAppearedWithin[] = "no debug terminal appeared within ";
constexpr char SecondsUnit[] = " s";

// The output: what stands instead of a line that did not arrive whole, the clear marker's text,
// and the notice of lines lost ("{1}" is their number), the same words in every output form.
constexpr const char* TooLongPlaceholder = "<line too long to carry>";
constexpr const char* UnreadablePlaceholder = "<line could not be read>";
constexpr const char* ClearedText = "terminal cleared";
constexpr char DroppedLabel[] = "dropped";
// How text output names the writer of an ods line: "pid=1234 name.exe", "-" for a name unknown.
constexpr char WriterIdPrefix[] = "pid=";
constexpr char UnknownWriterName[] = "-";
// {1}: "1 line" or "N lines" (LineCount); files written before said "1 lines", which reads too.
constexpr const char* DroppedNoticeText = "{1} lost: the output could not keep up";

// The window.
// The time column's title says what it shows (View > the time column).
constexpr wchar_t TimeOfDayColumnTitle[] = L"Time of day";
constexpr wchar_t DateAndTimeColumnTitle[] = L"Date and time";
constexpr wchar_t SinceStartColumnTitle[] = L"Since start";
constexpr wchar_t SincePreviousColumnTitle[] = L"Since previous";
constexpr wchar_t ClassColumnTitle[] = L"Class";
constexpr wchar_t TextColumnTitle[] = L"Text";
constexpr wchar_t ProcessColumnTitle[] = L"Process";
// Menu captions, keys and the rules dialog live in vornak-terminal-window.rc.
constexpr wchar_t QuickFilterLabel[] = L"Filter:";
constexpr wchar_t FindLabel[] = L"Find:";
constexpr wchar_t FindMatchCaseLabel[] = L"Match case";
constexpr wchar_t FindRegexLabel[] = L"Regular expression";
// Beside the find box: the row found among the rows that match ({1} of {2}), or how many match;
// "so far" while the rows are still being counted.
constexpr const char* FindPosition = "{1} of {2}";
constexpr const char* FindPositionSoFar = "{1} of {2} so far";
constexpr const char* FindCount = "{1} found";
constexpr const char* FindCountSoFar = "{1} found so far";
constexpr char FindNoMatch[] = "no match";
constexpr wchar_t CloseFindButton[] = L"\u2715";
// The status bar: "<shown> lines shown of <kept> kept", then what was lost and what waits.
constexpr wchar_t LineShownOf[] = L" line shown of ";
constexpr wchar_t LinesShownOf[] = L" lines shown of ";
constexpr wchar_t LinesKept[] = L" kept";
constexpr wchar_t OldestDropped[] = L" oldest dropped";
constexpr wchar_t PausedWaiting[] = L"PAUSED, ";
constexpr wchar_t Waiting[] = L" waiting";
constexpr wchar_t StatusSeparator[] = L"; ";
constexpr wchar_t SaveFailedFormat[] = L"The lines could not be saved (error %lu).";
// What the status bar adds: whether the list follows, an opened file, a search's outcome.
constexpr const char* StatusFileFormat = "file {1} ({2}); Ctrl+Shift+L returns to the live lines";
// {1}: "1 line" or "N lines" (LineCount), "1 live line" or "N live lines", "1 rule" or "N rules".
constexpr const char* StatusFileNotices = "{1} lost, as the file says";
constexpr const char* StatusLiveWaiting = "{1} arrived meanwhile";
// The rules cost more than the lines' pace allows: {1} lines wait to be stored.
constexpr const char* HistoryLinesRefused = "Lines to keep: a whole number from {1} to {2}";
constexpr const char* HistoryMegabytesRefused = "Memory: a whole number of MB from {1} to {2}";
constexpr const char* StatusFiltering = "filtering: {1}%";
constexpr char StatusAllLinesShown[] = "all lines shown (Ctrl+U shows the filtered ones again)";
constexpr const char* StatusCatchingUp = "catching up: {1} waiting";
constexpr const char* FindNotFound = "\"{1}\" not found among the shown lines";
constexpr const char* FindWrapped = "the search went on from the other end";
constexpr char NoBookmarks[] = "no bookmarks: Ctrl+F2 sets one on the selected lines";
constexpr char NoBookmarksShown[] = "no bookmarked line is shown";
constexpr const char* RulesInUse = "{1}";
constexpr const char* RulesImported = "{1} imported";
constexpr const char* RulesExported = "{1} exported";
constexpr const char* LinesSaved = "{1} saved";
inline std::string RuleCount(unsigned long long count)
{
    return CountText(count, "rule", "rules");
}
constexpr const char* CannotUseRulesFile = "cannot use the rules file {1}: {2}";
constexpr const char* CannotOpenLog = "cannot open {1}: {2}";
// A log read on its thread ({1}: the file's name, {2}: a percentage, a count or a reason).
constexpr const char* StatusReading = "reading {1}: {2}% (Esc stops)";
constexpr const char* ReadingStopped = "reading {1} stopped: {2} read";
constexpr const char* ReadingFailed = "reading {1} stopped: {2}";
// {1}: a member of a rotated set, {2}: why it was not read (whole or in part).
constexpr const char* SetMemberProblem = "{1} of the set: {2}";
// {1}: a file's name, {2}: its oldest old file's.
constexpr const char* OpenWholeSetQuestion =
    "{1} has older files beside it, down to {2}. Open the whole set as one log, oldest first?\n\n"
    "Yes opens the set, No this file alone.";
// {1}: "line is" or "N lines are" (LinesAre), {2}: a number of lines.
constexpr const char* ReadingLeftOut = "the file's first {1} left out: the history keeps {2}";
inline std::string LinesAre(unsigned long long count)
{
    return count == 1 ? "line is" : std::to_string(count) + " lines are";
}
constexpr const char* RulesNotUsable = "the rules cannot be used: {1}";
// File dialogs.
constexpr wchar_t OpenDialogTitle[] = L"Open a log saved by the terminal";
constexpr wchar_t LogFilter[] = L"Logs and text files (*.txt;*.log)\0*.txt;*.log\0All files\0*.*\0";
constexpr wchar_t RulesDialogFilter[] = L"Rule files (*.rules;*.txt)\0*.rules;*.txt\0All files\0*.*\0";
constexpr wchar_t ImportRulesTitle[] = L"Import rules";
constexpr wchar_t ExportRulesTitle[] = L"Export rules";
constexpr wchar_t RulesDefaultName[] = L"terminal.rules";
constexpr wchar_t RulesDefaultExtension[] = L"rules";
// The save dialog.
constexpr wchar_t SaveDialogTitle[] = L"Save shown lines as text";
// File > Log to file: every line that arrives goes to a file (an existing one is added to).
constexpr wchar_t LogDialogTitle[] = L"Log every line that arrives to a file (an existing file is added to)";
constexpr wchar_t LogDefaultName[] = L"terminal-log.txt";
// {1}: the file.
constexpr const char* StatusLogging = "logging to {1}";
// {1}: the file, {2}: what went wrong.
constexpr const char* LogProblem = "the log {1}: {2}";
// {1}: "1 line" or "N lines", {2}: the file, {3}: the system's error and its text.
constexpr const char* LogLinesNotWritten = "{1} could not be written to the log {2}: {3}";
// The toolbar's buttons, and their tips: the name, then the key from the accelerator table
// ({1}: the name, {2}: the key, as "Ctrl+P").
constexpr wchar_t ToolbarPause[] = L"Pause";
constexpr wchar_t ToolbarClear[] = L"Clear";
constexpr wchar_t ToolbarFind[] = L"Find";
constexpr wchar_t ToolbarCapture[] = L"Capture";
constexpr wchar_t ToolbarCaptureTip[] = L"Capture OutputDebugString";
constexpr const char* ToolbarTipWithKey = "{1} ({2})";
// The parts of a key's name in a tip.
constexpr wchar_t KeyControl[] = L"Ctrl+";
constexpr wchar_t KeyShift[] = L"Shift+";
constexpr wchar_t KeyAlt[] = L"Alt+";
constexpr wchar_t KeyEnd[] = L"End";
constexpr wchar_t KeyPause[] = L"Pause";
constexpr wchar_t KeyEscape[] = L"Esc";
constexpr wchar_t KeyFunction[] = L"F";
// A saved log in a window of its own ({1}: the file's name).
constexpr const char* ViewerTitle = "{1} - Vornak Debug Terminal (viewer)";
constexpr const char* ViewerStatusFile = "file {1} ({2})";
constexpr const char* CannotStartViewer = "cannot open {1} in a new window: {2}";
constexpr wchar_t SaveDefaultName[] = L"terminal.txt";
constexpr wchar_t SaveFilter[] = L"Text files (*.txt)\0*.txt\0All files\0*.*\0";
constexpr wchar_t SaveDefaultExtension[] = L"txt";

// text with {1} replaced by the first value, {2} by the second, and so on; any other brace
// stays as it is.
inline std::string FillText(std::string_view text, std::initializer_list<std::string_view> values)
{
    std::string out;
    out.reserve(text.size() + 32);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '{' && i + 2 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9' && text[i + 2] == '}') {
            size_t index = static_cast<size_t>(text[i + 1] - '1');
            if (index < values.size()) {
                out += values.begin()[index];
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// Regular expressions ({1}: the character position, counted from 1; {2} in the limits: the limit).
constexpr const char* PatternUnmatchedClose = "unmatched ) at character {1}";
constexpr const char* PatternMissingClose = "missing ) for the ( at character {1}";
constexpr const char* PatternNothingToRepeat = "nothing to repeat before the {2} at character {1}";
constexpr const char* PatternRepeatOfRepeat = "a repeat cannot follow a repeat ({2} at character {1})";
constexpr const char* PatternUnfinishedClass = "the [ at character {1} has no closing ]";
constexpr const char* PatternReversedRange = "the range {2} at character {1} runs backwards";
constexpr const char* PatternRepeatTooLarge = "a repeat count above {2} at character {1}";
constexpr const char* PatternRepeatReversed = "the repeat {2} at character {1} has its larger count first";
constexpr const char* PatternTrailingBackslash = "a \\ at the end (character {1}) escapes nothing";
constexpr const char* PatternBadHexEscape = "\\x at character {1} needs two hexadecimal digits";
constexpr const char* PatternBackreference = "backreferences such as \\{2} (character {1}) are not supported";
constexpr const char* PatternUnknownEscape = "the escape \\{2} at character {1} is not supported";
constexpr const char* PatternUnsupportedGroup =
    "groups of the form (?{2} (character {1}) are not supported: lookaround, named groups and flags";
constexpr const char* PatternWideInClass = "a two-byte character cannot stand in a [ ] class (character {1})";
constexpr const char* PatternTooDeep = "groups nest deeper than {2} (character {1})";
constexpr const char* PatternTooLarge =
    "the expression is too large at character {1}: it would take more than {2} steps";

// Rules ({1}: the rule's number from 1, {2}: its kind, {3}: its pattern, {4}: what is wrong).
constexpr const char* RuleCompileError = "rule {1}, {2} \"{3}\": {4}";
// A rule set that costs more than the window keeps up with ({1} to {3} name the costliest rule,
// {4}: its milliseconds a line, {5}: the lines a second the window keeps up with).
constexpr const char* RulesCost =
    "rule {1}, {2} \"{3}\", costs {4} ms a line: with these rules the window keeps up with about {5} lines a "
    "second. OK again uses them.";
constexpr const char* RulesCostAtLeast =
    "rule {1}, {2} \"{3}\", costs {4} ms a line: with these rules the window keeps up with at most {5} lines "
    "a second. OK again uses them.";
constexpr const char* RuleNotInCodePage = "the pattern has characters that code page {1} of this system cannot hold";
constexpr const char* RuleProcessNotInCodePage = "the process name \"{1}\" has characters that this system's code page cannot hold";
constexpr const char* RuleNotConvertible = "the pattern has characters the lines' code page cannot hold";

// Syslog destinations ({1}: what was given).
constexpr const char* SyslogUnknownScheme =
    "unknown forwarding address \"{1}\": give syslog+udp://HOST:PORT or syslog+tcp://HOST:PORT";
constexpr const char* SyslogNotAscii = "the forwarding address \"{1}\" has characters other than ASCII";
constexpr const char* SyslogNoHost = "the forwarding address \"{1}\" names no host";
constexpr const char* SyslogUnclosedBracket = "the forwarding address \"{1}\" opens [ for an IPv6 address but does not close it";
constexpr const char* SyslogBareIpv6 = "the forwarding address \"{1}\" has an IPv6 address: write it in brackets, as [::1]:514";
constexpr const char* SyslogBadHost = "the host in the forwarding address \"{1}\" has characters a host name cannot have";
constexpr const char* SyslogNoPort = "the forwarding address \"{1}\" has no port: give HOST:PORT";
constexpr const char* SyslogBadPort = "the port in the forwarding address \"{1}\" is not a number";
constexpr const char* SyslogPortRange = "the port in the forwarding address \"{1}\" is out of range (1 to 65535)";

// Forwarding to a collector ({1}: its address; {2}: the system's error text; {3}: a number of lines).
constexpr const char* ForwardCannotResolve =
    "cannot find the host of the collector {1} (lines wait in its queue; the terminal keeps trying): {2}";
constexpr const char* ForwardCannotReach =
    "cannot reach the collector {1} (lines wait in its queue; the terminal keeps trying): {2}";
constexpr const char* ForwardClosedByCollector =
    "the collector {1} closed the connection (lines wait in its queue; the terminal keeps trying)";
constexpr const char* ForwardReachedAgain = "the collector {1} is reached; waiting lines go on to it";
// {3}: "1 line" or "N lines" (LineCount).
constexpr const char* ForwardDroppedLines = "{3} dropped on the way to the collector {1}: its queue was full while "
                                            "the collector could not be reached or was not taking lines";
constexpr const char* ForwardUndeliveredLines = "{3} could not be delivered to the collector {1} before the end";
constexpr const char* ForwardCannotStart = "cannot start forwarding to {1}: {2}";
// Winsock's errors, said in words where the system has none for them.
struct WinsockErrorText {
    unsigned long code;
    const char* text;
};
constexpr WinsockErrorText WinsockErrorTexts[] = {
    {10004, "The call was interrupted."},
    {10013, "Access to the socket was denied."},
    {10022, "An argument was not valid."},
    {10024, "Too many sockets are open."},
    {10040, "The message is too long."},
    {10047, "This kind of address is not supported."},
    {10048, "The address is already in use."},
    {10049, "The address is not available on this machine."},
    {10050, "The network is down."},
    {10051, "The network cannot be reached."},
    {10052, "The network dropped the connection."},
    {10053, "The connection was ended on this machine."},
    {10054, "The connection was reset by the other side."},
    {10055, "No buffer space is left."},
    {10057, "The socket is not connected."},
    {10058, "The connection was shut down."},
    {10060, "The connection attempt timed out."},
    {10061, "The connection was refused."},
    {10064, "The host is down."},
    {10065, "There is no route to the host."},
    {10091, "The network system is not ready."},
    {10092, "This version of Windows Sockets is not supported."},
    {10093, "Windows Sockets was not started."},
    {11001, "No such host is known."},
    {11002, "The name server did not answer; try again later."},
    {11003, "The name server failed."},
    {11004, "The name has no address of the kind asked for."},
};
constexpr char CaptureGoesWithHeadless[] = "--capture-ods goes with --headless (the window captures by default: View > Capture OutputDebugString)";
constexpr char ForwardGoesWithHeadless[] = "--forward and --forward-queue go with --headless";
constexpr char ForwardQueueTakesLines[] = "--forward-queue takes one whole number of lines from 1 to 10000000";
constexpr char ForwardQueueWithoutForward[] = "--forward-queue goes with --forward";
// {1}: the most collectors there may be.
constexpr const char* TooManyCollectors =
    "--forward is given more than {1} times: the terminal forwards to at most {1} collectors";

// Rule files ({1}: the line number; in the limits: the limit).
constexpr const char* RuleFileLineError = "line {1}: {2}";
constexpr const char* RuleFileUnknownKind = "unknown rule kind \"{1}\" (include, exclude, highlight or stop)";
constexpr const char* RuleFileNoPattern = "no pattern: give it last, in quotes ('text' or \"text\")";
constexpr const char* RuleFileUnclosedQuote = "the quote that opens at column {1} is not closed";
constexpr const char* RuleFileAfterPattern = "text after the pattern's closing quote";
constexpr const char* RuleFileUnknownOption =
    "unknown word \"{1}\" (regex, case, class=NAME, process=NAME, #RRGGBB, or the pattern in quotes)";
constexpr const char* RuleFileTwice = "\"{1}\" is given twice";
constexpr const char* RuleFileColourWithoutHighlight = "a colour goes only with highlight";
constexpr const char* RuleFileMatchedWithoutHighlight = "matched goes only with highlight";
constexpr const char* RuleFileBadColour = "colour \"{1}\" is not #RRGGBB";
constexpr const char* RuleFileUnknownClass = "unknown class \"{1}\" (debug, log, statistic, error, separator or ods)";
constexpr const char* RuleFileEmptyProcess = "process= names no process (give its image name, * and ? as wildcards)";
constexpr const char* RuleFileBadEscape = "\"\\{1}\" is not an escape in a \"...\" pattern (\\\\, \\\", \\xHH)";
constexpr const char* RuleFileNotUtf8 = "not UTF-8 text (save the file as UTF-8)";
constexpr const char* RuleFileEscapesNotUtf8 =
    "the pattern's \\x escapes do not make UTF-8 text (write characters above ASCII as they are)";
constexpr const char* RuleFileLineTooLong = "longer than {1} bytes";
constexpr const char* RuleFileTooManyRules = "more than {1} rules";
constexpr const char* RuleFileCannotRead = "cannot read the rules file: {1}";
constexpr const char* RuleFileCannotWrite = "cannot write the rules file: {1}";
constexpr const char* RuleFileTooLarge = "the rules file is larger than {1} MB";

// Following the newest line, for the status bar.
constexpr const char* FollowingText = "following";
constexpr const char* HeldText = "not following (End follows again)";
constexpr const char* StoppedOnMatchText = "stopped on a matching line (End follows again)";

// Capturing OutputDebugString ({1}: the system's error text).
constexpr const char* CaptureOtherMonitor =
    "another debug-output monitor is running: OutputDebugString lines are not captured (close it, then turn "
    "capture on again)";
constexpr const char* NoProcessToFilterBy = "the selected line names no process (only OutputDebugString lines do)";
constexpr const char* ProcessNameUnknown =
    "the selected line's process had ended before its name was known: there is no name to filter by";
constexpr const char* NoTaskToFilterBy = "the selected line names no task (a task's lines start with its name and \" : \")";
constexpr const char* OnlyLinesOfShown = "only the lines of {1} are shown (View > Rules to undo)";
constexpr const char* CaptureCannotStart = "cannot capture OutputDebugString lines: {1}";
constexpr const char* CaptureGlobalRefused =
    "cannot capture the OutputDebugString lines of services and other sessions (this needs the right to create "
    "global objects: run the terminal elevated): {1}";

// Opening a saved log.
constexpr const char* LogNotALog =
    "this is not a log of the terminal: line {1} does not start with a time and a class (\"09:05:03.007 debug ...\")";
constexpr const char* LogNotAJsonLog =
    "this is not a JSON log of the terminal: line {1} is not an object of time, class and text as the terminal "
    "writes it";
constexpr const char* LogCannotRead = "cannot read the file: {1}";
// {1}: "1 line" or "N lines" (LineCount).
constexpr const char* LogSkippedLines = "left out {1} that could not be read (the first is line {2})";

// Rotating output files ({1}: a file name, {2}: the system's error text).
constexpr const char* RotateCannotOpen = "cannot open the output file {1}: {2}";
constexpr const char* RotateCannotWrite = "cannot write to the output file {1}: {2}";
constexpr const char* RotateCannotRename =
    "cannot rotate the output file now, no file was changed and lines go on into it (tried again later): "
    "renaming {1} failed: {2}";
constexpr const char* RotateCannotDelete = "the output file rotated, but its oldest, {1}, could not be deleted: {2}";

// Settings ({1}: the value's name in the registry).
constexpr const char* SettingDamaged = "the setting {1} was not usable and its default is used";
constexpr const char* SettingRulesDamaged = "the saved rules could not be read ({1}); the terminal starts without rules";
constexpr const char* SettingsCannotSave = "cannot save the settings: {1}";
