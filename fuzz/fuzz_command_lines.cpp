// Command lines: the terminal's (terminal/terminal_arguments.*, with collector addresses through
// terminal/syslog_destination.*) and the sender's (tools/sender/send_arguments.*), on any argument
// vectors. Each is refused with a message, or read as options within their documented ranges and
// combinations; written out again as a command line, those options read the same.
//
// Input: a byte choosing the program (bit 0: the sender), then up to 16 arguments, each a byte
// choosing a word the parsers know (below 0xC0) or text in the fuzzers' input language.
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "fuzz_checks.h"
#include "fuzz_input.h"
#include "send_arguments.h"
#include "terminal_arguments.h"
#include "written_address.h"

namespace {

const size_t LongestArgument = 300;
const size_t MostArguments = 16;

const char* const TerminalWords[] = {
    "--headless", "--stop", "--wait", "--help", "-h", "/?", "--output", "--timeout", "--rules", "--log", "--forward",
    "--forward-queue", "--format", "--rotate", "--keep", "text", "json", "out.log", "0", "1", "10", "3600",
    "3601", "1000", "1001", "10000000", "10000001", "1099511627776", "1099511627777", "1024G", "1025G", "10M",
    "5k", "", "syslog+udp://127.0.0.1:514", "syslog+tcp://[::1]:6514", "syslog+udp://host:0",
    "SYSLOG+TCP://collector.example:65535", "--view", "lines.txt",
};

const char* const SenderWords[] = {
    "--task", "--help", "-h", "/?", "-", "--", "debug", "log", "stat", "statistic", "error", "separator", "clear",
    "=", "", "Scanner", "count=5", "%s", "ab",
};

template <typename Char, size_t Count>
std::vector<std::basic_string<Char>> Arguments(FuzzInput& input, const char* const (&words)[Count])
{
    std::vector<std::basic_string<Char>> arguments;
    while (!input.Exhausted() && arguments.size() < MostArguments) {
        uint8_t choice = input.Byte();
        if (choice < 0xC0) {
            std::string word = words[choice % Count];
            arguments.emplace_back(word.begin(), word.end());
        } else {
            arguments.push_back(input.Text<Char>(LongestArgument));
        }
    }
    return arguments;
}

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::vector<std::wstring> WrittenOut(const TerminalOptions& options)
{
    std::vector<std::wstring> out;
    static const wchar_t* const Commands[] = {nullptr, L"--headless", L"--stop", L"--wait", L"--help"};
    if (const wchar_t* command = Commands[static_cast<int>(options.command)]) {
        out.push_back(command);
    }
    auto option = [&out](const wchar_t* name, const std::wstring& value) {
        out.push_back(name);
        out.push_back(value);
    };
    if (!options.outputPath.empty()) {
        option(L"--output", options.outputPath);
    }
    if (!options.rulesPath.empty()) {
        option(L"--rules", options.rulesPath);
    }
    if (!options.logPath.empty()) {
        option(L"--log", options.logPath);
    }
    if (options.viewer) {
        option(L"--view", options.openPath);
    } else if (!options.openPath.empty()) {
        out.push_back(options.openPath);
    }
    if (options.format == OutputFormat::Json) {
        option(L"--format", L"json");
    }
    if (options.rotateBytes != 0) {
        option(L"--rotate", Wide(std::to_string(options.rotateBytes)));
    }
    if (options.keptFiles != DefaultKeptFiles) {
        option(L"--keep", Wide(std::to_string(options.keptFiles)));
    }
    if (options.timeoutSeconds != DefaultTimeoutSeconds) {
        option(L"--timeout", Wide(std::to_string(options.timeoutSeconds)));
    }
    for (const SyslogDestination& destination : options.forwardTo) {
        option(L"--forward", Wide(WrittenAddress(destination)));
    }
    if (options.forwardQueueLines != DefaultForwardQueueLines) {
        option(L"--forward-queue", Wide(std::to_string(options.forwardQueueLines)));
    }
    return out;
}

bool SameOptions(const TerminalOptions& a, const TerminalOptions& b)
{
    if (a.forwardTo.size() != b.forwardTo.size()) {
        return false;
    }
    for (size_t i = 0; i < a.forwardTo.size(); ++i) {
        const SyslogDestination& x = a.forwardTo[i];
        const SyslogDestination& y = b.forwardTo[i];
        if (x.transport != y.transport || x.host != y.host || x.port != y.port) {
            return false;
        }
    }
    return a.command == b.command && a.outputPath == b.outputPath && a.rulesPath == b.rulesPath &&
           a.logPath == b.logPath && a.openPath == b.openPath && a.viewer == b.viewer &&
           a.format == b.format && a.rotateBytes == b.rotateBytes && a.keptFiles == b.keptFiles &&
           a.timeoutSeconds == b.timeoutSeconds && a.forwardQueueLines == b.forwardQueueLines;
}

void CheckTerminal(const std::vector<std::wstring>& arguments)
{
    TerminalOptions options;
    std::string error;
    if (!ParseTerminalArguments(arguments, &options, &error)) {
        FUZZ_CHECK(!error.empty() && PrintableUtf8(error), error.c_str());
        return;
    }
    bool headless = options.command == TerminalCommand::Headless;
    FUZZ_CHECK(options.timeoutSeconds >= 1 && options.timeoutSeconds <= 3600, "--timeout from 1 to 3600");
    FUZZ_CHECK(options.timeoutSeconds == DefaultTimeoutSeconds || options.command == TerminalCommand::Stop ||
                   options.command == TerminalCommand::Wait,
               "--timeout goes with --stop or --wait");
    FUZZ_CHECK(options.rotateBytes <= MaxRotateBytes, "--rotate up to 1 TiB");
    bool window = options.command == TerminalCommand::Window;
    FUZZ_CHECK(options.rotateBytes == 0 || (headless && !options.outputPath.empty()) ||
                   (window && !options.logPath.empty()),
               "--rotate needs --output or --log");
    FUZZ_CHECK(options.logPath.empty() || window, "--log goes with the window");
    FUZZ_CHECK(options.openPath.empty() || window, "a log to open goes with the window");
    FUZZ_CHECK(!options.viewer || (!options.openPath.empty() && options.logPath.empty()),
               "--view names a log and goes without --log");
    FUZZ_CHECK(options.keptFiles <= MaxKeptFiles, "--keep up to 1000");
    FUZZ_CHECK(options.keptFiles == DefaultKeptFiles || options.rotateBytes != 0, "--keep goes with --rotate");
    FUZZ_CHECK(options.forwardQueueLines >= 1 && options.forwardQueueLines <= MaxForwardQueueLines,
               "--forward-queue from 1 to 10000000");
    FUZZ_CHECK(options.forwardQueueLines == DefaultForwardQueueLines || !options.forwardTo.empty(),
               "--forward-queue goes with --forward");
    FUZZ_CHECK(options.forwardTo.empty() || headless, "--forward goes with --headless");
    FUZZ_CHECK(options.outputPath.empty() || headless, "--output goes with --headless");
    FUZZ_CHECK(options.format == OutputFormat::Text || headless || !options.logPath.empty(),
               "--format goes with --headless or --log");
    FUZZ_CHECK(options.rulesPath.empty() || options.command == TerminalCommand::Window, "--rules goes with the window");
    for (const SyslogDestination& destination : options.forwardTo) {
        FUZZ_CHECK(!destination.host.empty() && destination.port >= 1, "a collector has a host and a port");
    }

    TerminalOptions again;
    FUZZ_CHECK(ParseTerminalArguments(WrittenOut(options), &again, &error), error.c_str());
    FUZZ_CHECK(SameOptions(options, again), "written out again, the options read the same");
}

bool IsMessage(SendCommand command)
{
    return command == SendCommand::Debug || command == SendCommand::Log || command == SendCommand::Statistic ||
           command == SendCommand::Error;
}

void CheckSender(const std::vector<std::string>& arguments)
{
    SendRequest request;
    std::string error;
    if (!ParseSendArguments(arguments, &request, &error)) {
        FUZZ_CHECK(!error.empty(), "a refusal says why");
        return;
    }
    if (request.command == SendCommand::Help) {
        return;
    }
    FUZZ_CHECK(!request.hasTask || (!request.task.empty() && IsMessage(request.command)),
               "a task name, not empty, goes with a message");
    FUZZ_CHECK(IsMessage(request.command) || request.text.empty(), "only messages have text");
    FUZZ_CHECK(request.command == SendCommand::Separator || request.fill == 0, "only separators have a fill");

    std::vector<std::string> written;
    if (request.hasTask) {
        written = {"--task", request.task};
    }
    static const char* const Commands[] = {"debug", "log", "stat", "error", "separator", "clear"};
    written.push_back(Commands[static_cast<int>(request.command)]);
    if (IsMessage(request.command)) {
        written.push_back(request.text);
    } else if (request.fill != 0) {
        written.push_back(std::string(1, request.fill));
    }
    SendRequest again;
    FUZZ_CHECK(ParseSendArguments(written, &again, &error), error.c_str());
    FUZZ_CHECK(again.command == request.command && again.hasTask == request.hasTask && again.task == request.task &&
                   again.text == request.text && again.fill == request.fill,
               "written out again, the request reads the same");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput input(data, size);
    if ((input.Byte() & 1) == 0) {
        CheckTerminal(Arguments<wchar_t>(input, TerminalWords));
    } else {
        CheckSender(Arguments<char>(input, SenderWords));
    }
    return 0;
}
