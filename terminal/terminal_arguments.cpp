#include "terminal_arguments.h"

namespace {

constexpr unsigned MaxTimeoutSeconds = 3600;

bool ParseSeconds(const std::wstring& text, unsigned* seconds)
{
    if (text.empty() || text.size() > 4) {
        return false;
    }
    unsigned value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return false;
        }
        value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    if (value == 0 || value > MaxTimeoutSeconds) {
        return false;
    }
    *seconds = value;
    return true;
}

// Only ASCII reaches the messages: an option name the user typed is shown as far as it is ASCII.
std::string Ascii(const std::wstring& text)
{
    std::string out;
    for (wchar_t c : text) {
        out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
    }
    return out;
}

bool ParseLineCount(const std::wstring& text, size_t* lines)
{
    if (text.empty() || text.size() > 8) {
        return false;
    }
    size_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return false;
        }
        value = value * 10 + static_cast<size_t>(c - L'0');
    }
    if (value == 0 || value > MaxForwardQueueLines) {
        return false;
    }
    *lines = value;
    return true;
}

bool Fail(std::string* error, const std::string& text)
{
    *error = text;
    return false;
}

} // namespace

bool ParseTerminalArguments(const std::vector<std::wstring>& arguments, TerminalOptions* options,
                            std::string* error)
{
    TerminalOptions parsed;
    bool commandGiven = false;
    bool outputGiven = false;
    bool timeoutGiven = false;
    bool forwardQueueGiven = false;
    bool rulesGiven = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        TerminalCommand command;
        if (argument == L"--headless") {
            command = TerminalCommand::Headless;
        } else if (argument == L"--stop") {
            command = TerminalCommand::Stop;
        } else if (argument == L"--wait") {
            command = TerminalCommand::Wait;
        } else if (argument == L"--help" || argument == L"-h" || argument == L"/?") {
            command = TerminalCommand::Help;
        } else if (argument == L"--output" || argument == L"--timeout" || argument == L"--rules") {
            if (i + 1 >= arguments.size()) {
                return Fail(error, Ascii(argument) + NeedsAValue);
            }
            const std::wstring& value = arguments[++i];
            if (argument == L"--output") {
                if (outputGiven || value.empty()) {
                    return Fail(error, OutputTakesOneName);
                }
                parsed.outputPath = value;
                outputGiven = true;
            } else if (argument == L"--rules") {
                if (rulesGiven || value.empty()) {
                    return Fail(error, RulesTakesOneName);
                }
                parsed.rulesPath = value;
                rulesGiven = true;
            } else {
                if (timeoutGiven || !ParseSeconds(value, &parsed.timeoutSeconds)) {
                    return Fail(error, TimeoutTakesSeconds);
                }
                timeoutGiven = true;
            }
            continue;
        } else if (argument == L"--forward" || argument == L"--forward-queue") {
            if (i + 1 >= arguments.size()) {
                return Fail(error, Ascii(argument) + NeedsAValue);
            }
            const std::wstring& value = arguments[++i];
            if (argument == L"--forward") {
                SyslogDestination destination;
                if (!ParseSyslogDestination(value, &destination, error)) {
                    return false;
                }
                parsed.forwardTo.push_back(destination);
            } else {
                if (forwardQueueGiven || !ParseLineCount(value, &parsed.forwardQueueLines)) {
                    return Fail(error, ForwardQueueTakesLines);
                }
                forwardQueueGiven = true;
            }
            continue;
        } else {
            return Fail(error, UnknownArgument(Ascii(argument)));
        }
        if (commandGiven) {
            return Fail(error, OnlyOneCommand);
        }
        parsed.command = command;
        commandGiven = true;
    }
    if (outputGiven && parsed.command != TerminalCommand::Headless) {
        return Fail(error, OutputGoesWithHeadless);
    }
    if ((!parsed.forwardTo.empty() || forwardQueueGiven) && parsed.command != TerminalCommand::Headless) {
        return Fail(error, ForwardGoesWithHeadless);
    }
    if (forwardQueueGiven && parsed.forwardTo.empty()) {
        return Fail(error, ForwardQueueWithoutForward);
    }
    if (rulesGiven && parsed.command != TerminalCommand::Window) {
        return Fail(error, RulesGoWithWindow);
    }
    if (timeoutGiven && parsed.command != TerminalCommand::Stop && parsed.command != TerminalCommand::Wait) {
        return Fail(error, TimeoutGoesWithStopOrWait);
    }
    *options = parsed;
    return true;
}
